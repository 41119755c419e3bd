// Compiled by page-limit.cmake alone: a sheet given PAGE_COUNT (8 or 9) pages.
#include "fw/PropertySheetEx.h"

class ProbePage : public PropertyPageEx {
public:
    ProbePage() : PropertyPageEx(1) {}
};

class ProbeSheet : public PropertySheetEx {
public:
    ProbeSheet() : PropertySheetEx("", nullptr, 0, nullptr, nullptr, nullptr) {
        PropertyPageEx* const list[] = {&pages[0], &pages[1], &pages[2], &pages[3],
                                        &pages[4], &pages[5], &pages[6], &pages[7]
#if PAGE_COUNT > 8
                                        , &pages[8]
#endif
        };
        SetPages(list);
    }
    ProbePage pages[PAGE_COUNT];
};

ProbeSheet* MakeProbeSheet() { return new ProbeSheet; }
