// Contact slots: the fixed table of contacts followed at once, the colour each
// slot draws in, and the rule that gives a contact its slot. Plain C++ without
// the platform headers, so that kovrin-report reads a touch.log with the very
// rule the touch handler applied when it wrote it.
#pragma once

#include <cstdint>

// Capacity of every per-contact table and of the touch-input buffer.
constexpr int SLOT_COUNT = 15;

// The contact id a free slot holds.
constexpr int FREE_SLOT = -1;

// Colour of each contact slot (0x00BBGGRR); slots 10 to 14 are black.
inline constexpr std::uint32_t g_contactColors[SLOT_COUNT] = {
    0x00800000, 0x000000FF, 0x0000FF00, 0x00FF0000, 0x0000FFFF, 0x00FF00FF, 0x00FFFF00, 0x00BEBEBE,
    0x00238E6B, 0x0000A5FF, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000};

// The slot of `contactId` in a table of slot owners: the slot that already
// holds the id, even above a free one; else the lowest free slot; else -1.
// Only a DOWN claims the slot found and only an UP frees it.
inline int FindSlotIn(const int (&slotContact)[SLOT_COUNT], std::uint32_t contactId) {
    int freeSlot = -1;
    for (int j = 0; j < SLOT_COUNT; j++) {
        if (freeSlot < 0 && slotContact[j] == FREE_SLOT)
            freeSlot = j;
        if (slotContact[j] == (int)contactId)
            return j;
    }
    return freeSlot;
}
