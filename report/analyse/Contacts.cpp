#include "report/analyse/Contacts.h"

#include <algorithm>
#include <cmath>

namespace report {

CContacts::CContacts() {
    m_down.reserve(MAX_OPEN_STROKES);
    m_places.reserve(MAX_OPEN_STROKES);
    std::fill(std::begin(m_slotContact), std::end(m_slotContact), FREE_SLOT);
}

int CContacts::ClaimSlot(std::uint32_t id) {
    int slot = FindSlotIn(m_slotContact, id);
    if (slot >= 0)
        m_slotContact[slot] = (int)id;
    return slot;
}

void CContacts::FreeSlot(std::uint32_t id) {
    int slot = FindSlotIn(m_slotContact, id);
    if (slot >= 0)
        m_slotContact[slot] = FREE_SLOT;
}

int CContacts::Down(const InputEvent& in, Nearest* nearest) {
    int place;
    if (!m_free.empty()) {
        place = m_free.back();
        m_free.pop_back();
    } else {
        place = (int)m_places.size();
        m_places.emplace_back();
    }
    Place& p = m_places[place];
    p.older = m_newest;
    p.newer = -1;
    p.at = m_down.size();
    m_down.push_back({(double)in.fineX, (double)in.fineY, in.id, place});
    if (m_newest >= 0)
        m_places[m_newest].newer = place;
    else
        m_oldest = place;
    m_newest = place;
    m_open.emplace(in.id, place);
    if (nearest)
        *nearest = Separate<true>(place, in);
    else
        Separate<false>(place, in);
    m_maxContacts = std::max<std::uint64_t>(m_maxContacts, m_down.size());
    return place;
}

void CContacts::End(int place) {
    Place& p = m_places[place];
    m_open.erase(m_down[p.at].id);
    m_down[p.at] = m_down.back(); // in its place, the last one
    m_places[m_down[p.at].place].at = p.at;
    m_down.pop_back();
    if (p.older >= 0)
        m_places[p.older].newer = p.newer;
    else
        m_oldest = p.newer;
    if (p.newer >= 0)
        m_places[p.newer].older = p.older;
    else
        m_newest = p.older;
    m_free.push_back(place);
}

void CContacts::Finish(Report& report) const {
    report.maxContacts = m_maxContacts;
    if (m_closest)
        report.separation =
            Separation{std::sqrt(m_closest2) / 100, m_closest->movedId, m_closest->otherId, m_closest->line};
}

} // namespace report
