// Wine does not count GDI handles per process, so a leak shows only when the handle space
// runs out. GdiSqueeze uses it up but for a few handles: code that leaks one per paint soon
// finds nothing left, and CanStillCreateGdiObjects tells.
#pragma once

#include <windows.h>

#include <vector>

namespace test {

class GdiSqueeze {
public:
    explicit GdiSqueeze(size_t nLeaveFree = 1500) {
        while (m_filler.size() < 200000) {
            HBRUSH hBrush = ::CreateSolidBrush(0);
            if (!hBrush)
                break;
            m_filler.push_back(hBrush);
        }
        for (size_t i = 0; i < nLeaveFree && !m_filler.empty(); ++i) {
            ::DeleteObject(m_filler.back());
            m_filler.pop_back();
        }
    }
    GdiSqueeze(const GdiSqueeze&) = delete;
    GdiSqueeze& operator=(const GdiSqueeze&) = delete;
    ~GdiSqueeze() {
        for (HBRUSH hBrush : m_filler)
            ::DeleteObject(hBrush);
    }

private:
    std::vector<HBRUSH> m_filler;
};

// True when n fonts can still be made (and are released again).
inline bool CanStillCreateGdiObjects(int n = 1000) {
    std::vector<HFONT> fonts;
    LOGFONTA lf = {};
    lf.lfHeight = -12;
    for (int i = 0; i < n; ++i) {
        if (HFONT hFont = ::CreateFontIndirectA(&lf))
            fonts.push_back(hFont);
    }
    for (HFONT hFont : fonts)
        ::DeleteObject(hFont);
    return static_cast<int>(fonts.size()) == n;
}

}  // namespace test
