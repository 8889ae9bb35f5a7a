#include "app/frmMain.h"

void frmMain::wireDataFile()
{
}
