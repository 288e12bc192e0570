// Reading the tags of many rows inside a command, on the progress bar: the file being read
// shows as "Reading tags NAME(N of M)...", at most every 50 ms, and a stop is asked for between
// two files. Once the reading ends the bar shows what it showed before.
#pragma once

#include "controls/progress/PercentProgressCtrl.h"
#include "tags/TagCache.h"

#include <functional>
#include <vector>

class CTagReading {
public:
    CTagReading(CPercentProgressCtrl& progress, std::function<bool()> stopWanted);
    ~CTagReading();
    CTagReading(const CTagReading&) = delete;
    CTagReading& operator=(const CTagReading&) = delete;

    // The tags of each path, in order, from the cache where their files did not change; false,
    // with pTags incomplete, when a stop was wanted.
    bool Read(const std::vector<CString>& paths, CTagCache& cache, std::vector<TrackTags>* pTags);

private:
    CPercentProgressCtrl& m_progress;
    const std::function<bool()> m_stopWanted;
    // What the bar showed before.
    CString m_text;
    PBRANGE m_range = {};
    LRESULT m_nPos = 0;
    BOOL m_bShowedPercent = TRUE;
};
