#include "app/frmMain.h"

void frmMain::wireResults()
{
}
