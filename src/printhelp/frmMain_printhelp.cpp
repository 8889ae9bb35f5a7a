#include "app/frmMain.h"

void frmMain::wirePrintHelp()
{
}
