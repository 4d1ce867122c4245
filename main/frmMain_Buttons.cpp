#include "main/frmMain.h"

void frmMain::lblButtons_Click(int) {}
void frmMain::opnDXTesting_Click() {}
void frmMain::opnSoftware_Click() {}
void frmMain::opnAbout_MouseUp(int, int, float, float) {}
void frmMain::opnValid_MouseUp(int, int, float, float) {}
void frmMain::opnKestrelon_MouseUp(int, int, float, float) {}
void frmMain::lblButtons_MouseMove(int, int, int, float, float) {}
void frmMain::lblButtons_MouseDown(int, int, int, float, float) {}
void frmMain::lblButtons_MouseUp(int, int, int, float, float) {}
void frmMain::opnDXTest_MouseMove(int, int, int, float, float) {}
void frmMain::opnDXTesting_MouseMove(int, int, float, float) {}
void frmMain::opnSoftware_MouseMove(int, int, float, float) {}
void frmMain::lblTitle_MouseDown(int, int, float, float) {}
void frmMain::lblTitle_MouseUp(int, int, float, float) {}
