#include "app/frmMain.h"

void frmMain::wireSettings()
{
}
