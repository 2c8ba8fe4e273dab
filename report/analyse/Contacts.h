// The contacts that are down: the slot kovrin gave each, where each stroke
// is open and in what order they came down, and how close two of them came
// while both were down. The analysis asks it whether a contact is down (a
// move or an up of one that is not is a ghost, a DOWN of one that is, a
// repeated DOWN) and ends the strokes it names.
#pragma once

#include "report/read/Reader.h"
#include "report/analyse/Report.h"
#include "touch/ContactSlots.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace report {

// More contacts down at once than this: the oldest is taken as stuck.
constexpr int MAX_OPEN_STROKES = 1024;

class CContacts {
public:
    CContacts();

    // kovrin's own rule: a DOWN claims the slot it finds (-1: none is
    // free), an UP frees it.
    int ClaimSlot(std::uint32_t id);
    void FreeSlot(std::uint32_t id);

    // The place of a contact's open stroke, or -1. Places are small numbers
    // from 0, each held by one open stroke and taken again once it ends.
    int Find(std::uint32_t id) const {
        // A few contacts down (the usual case): side by side, found faster
        // than by hashing.
        if (m_down.size() <= 16) {
            for (const DownAt& d : m_down)
                if (d.id == id)
                    return d.place;
            return -1;
        }
        auto it = m_open.find(id);
        return it == m_open.end() ? -1 : it->second;
    }

    bool Full() const {
        return m_down.size() == (std::size_t)MAX_OPEN_STROKES;
    }
    // The place of the stroke down longest; -1 when none is.
    int Oldest() const {
        return m_oldest;
    }

    // The vector from the nearest other contact down to an input, in
    // hundredths of a pixel; none when no other is down. Asked for only
    // where a guided item needs it: without it the search is cheaper.
    using Nearest = std::optional<std::pair<double, double>>;

    // A contact comes down: the place of its stroke.
    int Down(const InputEvent& in, Nearest* nearest = nullptr);
    // A contact down moves.
    void Move(int place, const InputEvent& in, Nearest* nearest = nullptr) {
        if (nearest)
            *nearest = Separate<true>(place, in);
        else
            Separate<false>(place, in);
    }
    // How many contacts are down.
    std::size_t DownCount() const {
        return m_down.size();
    }
    // The stroke at `place` ends.
    void End(int place);

    // The most contacts down at once and the closest approach.
    void Finish(Report& report) const;

private:
    // The distance from a contact's new position to every other contact
    // down, compared in hundredths of a pixel; then its position is the new
    // one. Inline: it runs for every point.
    template <bool WithNearest> Nearest Separate(int place, const InputEvent& in) {
        const double x = (double)in.fineX, y = (double)in.fineY;
        std::size_t self = m_places[place].at, closest = self;
        // Without the nearest, only a contact closer than the closest so far matters.
        double best = WithNearest ? std::numeric_limits<double>::infinity() : m_closest2;
        for (std::size_t i = 0; i < m_down.size(); i++) {
            double dx = x - m_down[i].x, dy = y - m_down[i].y, d2 = dx * dx + dy * dy;
            if (d2 < best && i != self) {
                best = d2;
                closest = i;
            }
        }
        m_down[self] = {x, y, in.id, place};
        if (closest == self)
            return std::nullopt;
        if (best < m_closest2) {
            m_closest2 = best;
            m_closest = Separation{0, in.id, m_down[closest].id, in.line};
        }
        if (!WithNearest)
            return std::nullopt;
        return std::make_pair(x - m_down[closest].x, y - m_down[closest].y);
    }

    // Where every contact down last was, in hundredths of a pixel, side by
    // side for the closest approach.
    struct DownAt {
        double x, y;
        std::uint32_t id;
        int place;
    };
    struct Place {
        std::size_t at = 0; // in m_down
        int older = -1;     // neighbours in DOWN order
        int newer = -1;
    };
    std::vector<DownAt> m_down;
    std::vector<Place> m_places;
    std::vector<int> m_free;
    std::unordered_map<std::uint32_t, int> m_open; // places by contact id
    int m_oldest = -1;
    int m_newest = -1;
    int m_slotContact[SLOT_COUNT];
    std::uint64_t m_maxContacts = 0;
    double m_closest2 = std::numeric_limits<double>::infinity();
    std::optional<Separation> m_closest; // the contacts and line of m_closest2
};

} // namespace report
