#include "tests/label/LabelFixture.h"

namespace label_test {

BEGIN_MESSAGE_MAP(LabelParent, CWnd)
ON_WM_ERASEBKGND()
ON_NOTIFY(NM_LABELCLICK, kLabelId, &LabelParent::OnLabelClick)
END_MESSAGE_MAP()

BOOL LabelParent::OnEraseBkgnd(CDC* pDC) {
    CRect rc;
    GetClientRect(rc);
    pDC->FillSolidRect(CRect(0, 0, 100, rc.bottom), kParentLeft);
    pDC->FillSolidRect(CRect(100, 0, rc.right, rc.bottom), kParentRight);
    return TRUE;
}

void LabelParent::OnLabelClick(NMHDR* pNMHDR, LRESULT*) { m_click = *pNMHDR; }

}  // namespace label_test
