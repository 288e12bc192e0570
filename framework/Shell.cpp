#include "framework/Shell.h"

#include <shlobj.h>

AfxShellCalls& AfxShell() {
    static AfxShellCalls calls = {::ShellExecuteA, ::ShellExecuteExA, ::SHFormatDrive};
    return calls;
}
