#include "framework/Button.h"

BEGIN_MESSAGE_MAP(CButton, CWnd)
ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()
