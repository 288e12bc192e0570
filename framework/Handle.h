// Who releases a handle shows in its type. CHandleT<Traits, true> owns the handle it holds:
// it releases it when destroyed and refuses to take a second while it holds one. Its view,
// CHandleT<Traits, false>, looks at a handle someone else releases and has no way to release
// it. Neither copies: two owners of one handle would release it twice. Owners move.
#pragma once

#include <windows.h>

#include <type_traits>

namespace afx {

// Traits name the handle type and how it is released. Adopt turns what a failed call
// returns into the null handle.
template <class H> struct HandleTraits {
    using HandleType = H;
    static H Adopt(H h) { return h; }
};

}  // namespace afx

template <class Traits, bool t_bManaged> class CHandleT {
public:
    using HandleType = typename Traits::HandleType;

    CHandleT() = default;
    // An owner takes ownership of h; a view looks at it.
    explicit CHandleT(HandleType h) : m_handle(Traits::Adopt(h)) {}
    CHandleT(const CHandleT&) = delete;
    CHandleT& operator=(const CHandleT&) = delete;
    CHandleT(CHandleT&& other) noexcept : m_handle(other.Detach()) {}
    // An owner releases what it held and takes the other's handle.
    CHandleT& operator=(CHandleT&& other) noexcept {
        if (this != &other) {
            if constexpr (t_bManaged)
                Close();
            m_handle = other.Detach();
        }
        return *this;
    }
    ~CHandleT() {
        if constexpr (t_bManaged)
            Close();
    }

    operator HandleType() const { return m_handle; }
    HandleType GetSafeHandle() const { return m_handle; }
    bool IsNull() const { return m_handle == HandleType(); }

    // Owner: takes ownership of h; refuses, keeping its own, while it holds one. View: looks
    // at h instead. FALSE too when h is null.
    BOOL Attach(HandleType h) {
        if (t_bManaged && !IsNull())
            return FALSE;
        m_handle = Traits::Adopt(h);
        return !IsNull();
    }
    // Gives the handle up without releasing it.
    HandleType Detach() {
        HandleType h = m_handle;
        m_handle = HandleType();
        return h;
    }
    // Owner only: releases the handle now; FALSE when none was held or the release failed.
    template <bool M = t_bManaged, std::enable_if_t<M, int> = 0> BOOL Close() {
        BOOL ok = !IsNull() && Traits::Release(m_handle);
        m_handle = HandleType();
        return ok;
    }

protected:
    HandleType m_handle = HandleType();
};
