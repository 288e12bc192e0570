#include "app/AboutBox.h"

#include "res/resource.h"

BEGIN_MESSAGE_MAP(CAboutBox, CDialog)
END_MESSAGE_MAP()

CAboutBox::CAboutBox() : CDialog(IDD_ABOUTBOX) {}

void CAboutBox::DoDataExchange(CDataExchange*) {}
