// The process-wide values.
#include "ui/framework/ProgramValues_win.h"

ProgramValues& Program() {
    static ProgramValues values;
    return values;
}
