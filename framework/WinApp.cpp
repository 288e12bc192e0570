#include "framework/WinApp.h"

#include "framework/Shell.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR) { return AfxGetResourceHandle(); }

const void* AfxLockResource(LPCSTR lpszName, LPCSTR lpszType, DWORD* pSize) {
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, lpszType);
    HRSRC hResource = ::FindResourceA(hInst, lpszName, lpszType);
    HGLOBAL hGlobal = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    if (pSize)
        *pSize = hGlobal ? ::SizeofResource(hInst, hResource) : 0;
    return hGlobal ? ::LockResource(hGlobal) : nullptr;
}

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName) : m_hInstance(::GetModuleHandleA(nullptr)) {
    g_pApp = this;

    // In UTF-8 a path of MAX_PATH characters can take three times as many bytes.
    CString path;
    for (DWORD nSize = MAX_PATH;; nSize *= 2) {
        const DWORD nLength = ::GetModuleFileNameA(nullptr, path.GetBuffer(nSize), nSize);
        path.ReleaseBuffer(nLength < nSize ? static_cast<int>(nLength) : 0);
        if (nLength < nSize)
            break;
    }
    const CString folder = FolderOfPath(path);
    const CString fileName = FileNameOfPath(path);
    int dot = fileName.ReverseFind('.');
    const CString baseName = dot >= 0 ? fileName.Left(dot) : fileName;
    m_strAppName = lpszAppName ? CString(lpszAppName) : baseName;
    // The help page is named after the executable and lies beside it: Program.exe, Program.html.
    m_strHelpFilePath = folder + baseName + ".html";
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

void CWinApp::WinHelp() {
    AfxShellExecute(nullptr, "open", m_strHelpFilePath, nullptr, nullptr, SW_SHOWNORMAL);
}

void CWinApp::OnHelp() { WinHelp(); }

int AfxWinMain(HINSTANCE hInstance) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->m_hInstance = hInstance;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
