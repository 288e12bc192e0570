// Undo and Redo of the list's changes: the states the list had, with their selection.
#pragma once

#include "framework/String.h"

#include <deque>
#include <vector>

// The rows of the list, by their paths, and which of them were selected. States share the
// strings of the rows they have in common, so a step costs a pointer and a bit a row.
struct ListState {
    std::vector<CString> paths;
    std::vector<bool> selected;
    int nFocused = -1;  // the row with the focus, -1 for none
};

class CUndoHistory {
public:
    // How many changes can be undone; the oldest goes beyond.
    static const size_t kDepth = 100;

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    // Keeps the state before a change for Undo, and forgets what Redo would have brought back.
    void Remember(const ListState& before);
    // The state before the last change, which current takes the place of in Redo's turn.
    ListState Undo(const ListState& current);
    // The state that the last Undo left, which current takes the place of in Undo's turn.
    ListState Redo(const ListState& current);
    // The state the list shows now, whose strings a state read next shares first.
    void Shown(const ListState& state) { m_recent = state; }
    // Gives a state just read from the list the strings that the state last kept, handed back
    // or shown holds for the same paths.
    void ShareStrings(ListState* pState) const;

private:
    static ListState Take(std::deque<ListState>* pFrom, std::deque<ListState>* pTo,
                          const ListState& current);

    std::deque<ListState> m_undo;  // the oldest first
    std::deque<ListState> m_redo;  // the one Redo brings back last
    ListState m_recent;            // the state last kept, handed back or shown
};
