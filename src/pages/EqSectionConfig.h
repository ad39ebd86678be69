#pragma once

#include <functional>
#include <vector>

namespace quilo {

// What differs between the pages that carry the equaliser section.
struct EqSectionConfig {
    // Output channels 0-7 an output edit goes to (the current one included), in any order.
    using LinkedSet = std::function<std::vector<int>()>;

    int templateId = 0;       // language-table template of the hosting page
    int bandCount = 10;       // bands the curve editor holds
    int listRows = 10;        // rows of the band list
    int maxLoadType = 5;      // stored types above it load as 0 (off)
    bool outputPage = false;  // crossover row and combo, linked channels
    int typeColumnWidth = 55; // width of the band list's type column
    LinkedSet linkedSet;      // output page only; empty means the shown channel alone

    // Output channels CH 1-8 (EqIds 7-14): 13 editor bands, the crossover slot in row 10.
    static EqSectionConfig output(LinkedSet linkedSet) {
        EqSectionConfig c;
        c.templateId = 385;
        c.bandCount = 13;
        c.listRows = 10;
        c.maxLoadType = 31;
        c.outputPage = true;
        c.typeColumnWidth = 60;
        c.linkedSet = std::move(linkedSet);
        return c;
    }
    // Mic channel A, mic channel B and music (EqIds 0, 1, 6).
    static EqSectionConfig music() {
        EqSectionConfig c;
        c.templateId = 313;
        return c;
    }
    // Reverb and echo A and B (EqIds 2-5).
    static EqSectionConfig effects() {
        EqSectionConfig c;
        c.templateId = 421;
        c.bandCount = 7;
        c.listRows = 7;
        return c;
    }
};

} // namespace quilo
