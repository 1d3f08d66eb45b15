// Default sink for internal errors: one line on stderr.
#include "core/InternalError.h"

#include <cstdio>

static void WriteToStderr(const char* caption, const char* message) {
    std::fprintf(stderr, "%s: %s\n", caption, message);
}

static InternalErrorSink currentSink = WriteToStderr;

void SetInternalErrorSink(InternalErrorSink sink) {
    currentSink = sink ? sink : WriteToStderr;
}

void ReportInternalError(const char* caption, const char* message) {
    currentSink(caption, message);
}
