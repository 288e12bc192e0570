#include "playlist/UndoHistory.h"

#include <string_view>
#include <unordered_map>

void CUndoHistory::Remember(const ListState& before) {
    m_undo.push_back(before);
    if (m_undo.size() > kDepth)
        m_undo.pop_front();
    m_redo.clear();
    m_recent = before;
}

ListState CUndoHistory::Take(std::deque<ListState>* pFrom, std::deque<ListState>* pTo,
                             const ListState& current) {
    ListState state = std::move(pFrom->back());
    pFrom->pop_back();
    pTo->push_back(current);
    return state;
}

ListState CUndoHistory::Undo(const ListState& current) {
    m_recent = Take(&m_undo, &m_redo, current);
    return m_recent;
}

ListState CUndoHistory::Redo(const ListState& current) {
    m_recent = Take(&m_redo, &m_undo, current);
    return m_recent;
}

void CUndoHistory::ShareStrings(ListState* pState) const {
    const std::vector<CString>& known = m_recent.paths;
    // Most rows keep their place from one state to the next; a sort moves them all, and they
    // are found by their text.
    std::unordered_map<std::string_view, const CString*> byText;
    for (size_t i = 0; i < pState->paths.size(); ++i) {
        CString& path = pState->paths[i];
        const std::string_view text(path, static_cast<size_t>(path.GetLength()));
        if (i < known.size() && std::string_view(known[i], known[i].GetLength()) == text) {
            path = known[i];
            continue;
        }
        if (byText.empty())
            for (const CString& knownPath : known)
                byText.emplace(std::string_view(knownPath, knownPath.GetLength()), &knownPath);
        const auto found = byText.find(text);
        if (found != byText.end())
            path = *found->second;
    }
}
