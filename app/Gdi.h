// Scoped GDI ownership for every drawing function and the snapshot writer: an
// object deletes what it was given, a selection puts the previous object back,
// and a device context goes back the way it came. Declared in the order of
// use, they undo in reverse (last selected, first restored; restored before
// deleted; the memory DC deleted before the window DC is released; a paint
// ended after everything drawn with it), so no path can leave a GDI object or a
// DC behind.
#pragma once

#include "app/Win32.h"

// A pen, brush, region or bitmap, deleted with DeleteObject on destruction. A
// failed creation (null) is never deleted.
template <typename THandle> class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(THandle handle) : m_handle(handle) {}
    ~CGdiObject() {
        Reset(nullptr);
    }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // Deletes the object held, if any, and takes `handle` in its place.
    void Reset(THandle handle) {
        if (m_handle)
            DeleteObject(m_handle);
        m_handle = handle;
    }
    THandle Get() const {
        return m_handle;
    }
    explicit operator bool() const {
        return m_handle != nullptr;
    }

private:
    THandle m_handle = nullptr;
};

// An object selected into a DC; the object it replaced is selected back on
// destruction. A failed selection has nothing to put back.
class CSelection {
public:
    CSelection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~CSelection() {
        if (m_previous)
            SelectObject(m_dc, m_previous);
    }
    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// What the DC holders share: the DC, which is never copied.
class CDc {
public:
    CDc(const CDc&) = delete;
    CDc& operator=(const CDc&) = delete;

    HDC Get() const {
        return m_dc;
    }
    explicit operator bool() const {
        return m_dc != nullptr;
    }

protected:
    explicit CDc(HDC dc) : m_dc(dc) {}
    ~CDc() = default;

    HDC m_dc;
};

// A window's DC from GetDC (client area) or GetWindowDC (the whole window,
// frame included), released with ReleaseDC on destruction.
class CWindowDc : public CDc {
public:
    enum Area { CLIENT, WHOLE_WINDOW };

    explicit CWindowDc(HWND hwnd, Area area = CLIENT)
        : CDc(area == WHOLE_WINDOW ? GetWindowDC(hwnd) : GetDC(hwnd)), m_hwnd(hwnd) {}
    ~CWindowDc() {
        if (m_dc)
            ReleaseDC(m_hwnd, m_dc);
    }

private:
    HWND m_hwnd;
};

// A memory DC from CreateCompatibleDC, deleted with DeleteDC on destruction.
class CMemoryDc : public CDc {
public:
    explicit CMemoryDc(HDC compatibleWith) : CDc(CreateCompatibleDC(compatibleWith)) {}
    ~CMemoryDc() {
        if (m_dc)
            DeleteDC(m_dc);
    }
};

// A paint from BeginPaint, ended with EndPaint on destruction: EndPaint pairs
// every BeginPaint, whatever it returned.
class CPaintDc : public CDc {
public:
    explicit CPaintDc(HWND hwnd) : CDc(nullptr), m_hwnd(hwnd) {
        m_dc = BeginPaint(hwnd, &m_paint);
    }
    ~CPaintDc() {
        EndPaint(m_hwnd, &m_paint);
    }
    const PAINTSTRUCT& Paint() const {
        return m_paint;
    }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint;
};
