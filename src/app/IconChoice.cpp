#include "app/frmIconChanger.h"

// The Open dialog, the icon picker and the preview arrive with the
// icon-choice work.
void frmIconChanger::cmdShowIcon_Click() {}
