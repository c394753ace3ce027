#pragma once

#include "editor/TEditMark.h"

namespace notarium {

// The six edit marks of the memo, in the order the settings and the overlay painter use.
class TEditMarks {
public:
    TEditMark CrLf;
    TEditMark Ctrl;
    TEditMark DSp;
    TEditMark SSp;
    TEditMark Tab;
    TEditMark Eot;

    void assign(const TEditMarks& other) { *this = other; }
};

} // namespace notarium
