#include "playlist/TagReading.h"

namespace {
// A repaint of the bar takes longer than reading a file's tags: the bar shows this often at most.
const DWORD kShownEveryMs = 50;
}  // namespace

CTagReading::CTagReading(CPercentProgressCtrl& progress, std::function<bool()> stopWanted)
    : m_progress(progress), m_stopWanted(std::move(stopWanted)) {
    m_text = m_progress.GetWindowText();
    m_progress.SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&m_range));
    m_nPos = m_progress.SendMessage(PBM_GETPOS);
    m_bShowedPercent = static_cast<BOOL>(m_progress.SendMessage(PPM_SHOWPERCENT, FALSE));
}

CTagReading::~CTagReading() {
    m_progress.SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(m_range.iLow),
                           static_cast<LPARAM>(m_range.iHigh));
    m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(m_nPos));
    m_progress.SetWindowText(m_text);
    m_progress.SendMessage(PPM_SHOWPERCENT, static_cast<WPARAM>(m_bShowedPercent));
    m_progress.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool CTagReading::Read(const std::vector<CString>& paths, CTagCache& cache,
                       std::vector<TrackTags>* pTags) {
    const UINT nCount = static_cast<UINT>(paths.size());
    m_progress.SendMessage(PBM_SETRANGE32, 0, static_cast<LPARAM>(nCount));
    DWORD dwShownAt = 0;
    pTags->clear();
    for (UINT i = 0; i < nCount; ++i) {
        if (m_stopWanted())
            return false;
        const DWORD dwNow = ::GetTickCount();
        if (i == 0 || dwNow - dwShownAt >= kShownEveryMs) {
            dwShownAt = dwNow;
            CString text;
            text.Format("Reading tags %s(%u of %u)...",
                        static_cast<LPCSTR>(FileNameOfPath(paths[i])), i + 1, nCount);
            m_progress.SetWindowText(text);
            m_progress.SendMessage(PBM_SETPOS, i + 1);
        }
        pTags->push_back(cache.Tags(AnsiToWide(paths[i])));
    }
    cache.ForgetUnused();
    return true;
}
