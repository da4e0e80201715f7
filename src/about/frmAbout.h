#pragma once
#include "platform/Form.h"

// The About window. (Being built: its table and handlers come with the
// About window's own work.)
class frmAbout : public Form {
public:
    frmAbout();
};
