#include "tests/progress/ProgressFixture.h"

namespace progress_test {

BEGIN_MESSAGE_MAP(FontParent, CWnd)
ON_MESSAGE(WM_GETFONT, &FontParent::OnGetFont)
END_MESSAGE_MAP()

}  // namespace progress_test
