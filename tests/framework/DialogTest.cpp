// Modal dialogs: their own loop, pre-translation, default OK/Cancel, control
// binding, owner handling and the help command's way to the application.
#include "framework/Button.h"
#include "framework/Dialog.h"
#include "framework/Shell.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "tests/support/Pump.h"

#include <gtest/gtest.h>

namespace {

class ProbeDialog : public CDialog {
public:
    ProbeDialog() : CDialog(IDD_ABOUTBOX) {}

    CButton m_ok;
    int m_nKeyDownsSeen = 0;
    HWND m_hOwnerSeen = nullptr;
    BOOL m_bOwnerEnabledWhileModal = TRUE;
    UINT m_nFirstAction = 0;  // a message to post to ourselves once the loop runs

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDOK, m_ok); }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_hOwnerSeen = ::GetWindow(m_hWnd, GW_OWNER);
        m_bOwnerEnabledWhileModal = m_hOwnerSeen && ::IsWindowEnabled(m_hOwnerSeen);
        if (m_nFirstAction)
            PostMessage(m_nFirstAction);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN)
            ++m_nKeyDownsSeen;
        return CDialog::PreTranslateMessage(pMsg);
    }
    LRESULT OnPressEscape(WPARAM, LPARAM) {
        // As the keyboard would: the key goes to the focused control.
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
        return 0;
    }
    LRESULT OnAskForHelp(WPARAM, LPARAM) {
        HELPINFO info = {sizeof(HELPINFO), HELPINFO_WINDOW, IDOK, m_ok.m_hWnd, 0, {0, 0}};
        ::SendMessageA(m_ok.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        EndDialog(IDOK);
        return 0;
    }
    LRESULT OnCheckBindingAndClose(WPARAM, LPARAM) {
        UpdateData(FALSE);  // binding twice must not fail or rebind
        EndDialog(IDOK);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

const UINT WM_PRESS_ESCAPE = WM_APP + 1;
const UINT WM_ASK_FOR_HELP = WM_APP + 2;
const UINT WM_CHECK_BINDING = WM_APP + 3;

BEGIN_MESSAGE_MAP(ProbeDialog, CDialog)
ON_MESSAGE(WM_PRESS_ESCAPE, &ProbeDialog::OnPressEscape)
ON_MESSAGE(WM_ASK_FOR_HELP, &ProbeDialog::OnAskForHelp)
ON_MESSAGE(WM_CHECK_BINDING, &ProbeDialog::OnCheckBindingAndClose)
END_MESSAGE_MAP()

class HelpCountingApp : public CWinApp {
public:
    int m_nHelpShown = 0;
    void WinHelp() override { ++m_nHelpShown; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HelpCountingApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

TEST(Dialog, EscapeGoesThroughPreTranslateAndEndsWithCancel) {
    ProbeDialog dialog;
    dialog.m_nFirstAction = WM_PRESS_ESCAPE;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_nKeyDownsSeen, 1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.m_ok.m_hWnd, nullptr);  // unbound when its control went
}

TEST(Dialog, ControlIsBoundOnceByDataExchange) {
    ProbeDialog dialog;
    dialog.m_nFirstAction = WM_CHECK_BINDING;
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(Dialog, MissingTemplateFailsWithoutAWindow) {
    CDialog dialog(4242);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(Dialog, BoxWithoutParentIsOwnedByTheMainWindowWhichItDisables) {
    HelpCountingApp app;
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, test::TestWindowClass(), "main", WS_OVERLAPPEDWINDOW,
                              CRect(0, 0, 200, 100), nullptr, 0));
    app.m_pMainWnd = &main;
    ProbeDialog dialog;
    dialog.m_nFirstAction = WM_PRESS_ESCAPE;
    dialog.DoModal();
    EXPECT_EQ(dialog.m_hOwnerSeen, main.m_hWnd);
    EXPECT_FALSE(dialog.m_bOwnerEnabledWhileModal);
    EXPECT_TRUE(::IsWindowEnabled(main.m_hWnd));
}

std::string g_shellOpened;
HINSTANCE WINAPI RecordShellOpen(HWND, LPCSTR, LPCSTR lpFile, LPCSTR, LPCSTR, INT) {
    g_shellOpened = lpFile;
    return reinterpret_cast<HINSTANCE>(33);
}

TEST(Dialog, HelpOpensThePageNamedAfterTheProgramBesideIt) {
    const AfxShellCalls saved = AfxShell();
    AfxShell().pfnShellExecute = RecordShellOpen;
    CWinApp app;
    app.OnHelp();
    AfxShell() = saved;
    char exe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string page(exe);
    page.replace(page.rfind('.'), std::string::npos, ".html");
    EXPECT_EQ(g_shellOpened, page);
}

TEST(Dialog, HelpRequestReachesTheApplicationsHelpCommand) {
    HelpCountingApp app;
    ProbeDialog dialog;
    app.m_pMainWnd = &dialog;
    dialog.m_nFirstAction = WM_ASK_FOR_HELP;
    dialog.DoModal();
    EXPECT_EQ(app.m_nHelpShown, 1);
}

}  // namespace
