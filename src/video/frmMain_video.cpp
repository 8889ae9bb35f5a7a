#include "app/frmMain.h"

void frmMain::wireVideo()
{
}
