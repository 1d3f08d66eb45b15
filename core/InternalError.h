// Internal errors of the container and the type table. The pure core only
// reports them; the Win32 shell installs a sink that shows a message box with
// the stop icon, tests install one that records what was reported.
#pragma once

using InternalErrorSink = void (*)(const char* caption, const char* message);

// Installs the sink; null restores the default (a line on stderr).
void SetInternalErrorSink(InternalErrorSink sink);

// Hands caption and message to the current sink.
void ReportInternalError(const char* caption, const char* message);
