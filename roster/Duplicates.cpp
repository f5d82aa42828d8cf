#include "Duplicates.h"

#include <string_view>
#include <unordered_set>

namespace vardolin::roster {

std::vector<int> LaterDuplicates(const std::vector<std::wstring>& texts) {
    std::vector<int> later;
    std::unordered_set<std::wstring_view> seen;
    seen.reserve(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        if (!seen.insert(texts[i]).second) later.push_back(static_cast<int>(i));
    return later;
}

void RemoveDuplicates(RosterList& roster) {
    std::vector<int> later = LaterDuplicates(roster.Texts());
    if (later.empty()) return;
    RedrawPause pause(roster);
    // From the back, so that the positions still to be removed stay valid.
    for (auto it = later.rbegin(); it != later.rend(); ++it) roster.Remove(*it);
}

}  // namespace vardolin::roster
