#include "app/frmMain.h"

void frmMain::wireDigitizing()
{
}
