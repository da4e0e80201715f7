#include "app/frmIconChanger.h"

// The folder browser arrives with the folder-choice work.
void frmIconChanger::cmdDir_Click() {}
