#pragma once
// A record in memory of the messages that can end the wizard and of the
// moments of a run, written to a file once the sheet is gone. Only a build
// that defines WIZ_RECORD_MESSAGES keeps it; in every other build the calls
// are empty and cost nothing. It leaves the timing alone, as a trace of the
// debug channels does not.
#include <windows.h>

#ifdef WIZ_RECORD_MESSAGES
// Notes `where` a message arrived (or, with msg 0, a moment), with the tick
// count, the thread's last message time and whether the message was sent.
void RecordMessage(const char* where, UINT msg, WPARAM wp, LPARAM lp);
// Also every message the thread retrieves, from now on.
void RecordRetrievedMessages();
// Writes the record to SetupMessages-<process id>.txt in the folder
// %WIZ_MESSAGE_RECORD%, or else in the temp folder.
void WriteMessageRecord();
#else
inline void RecordMessage(const char*, UINT, WPARAM, LPARAM) {}
inline void RecordRetrievedMessages() {}
inline void WriteMessageRecord() {}
#endif
