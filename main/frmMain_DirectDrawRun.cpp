#include "main/frmMain.h"

void frmMain::RunDirectDrawTest() {}
