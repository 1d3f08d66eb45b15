// DdeClient: the one DDE client conversation with a player. Commands go as
// XTYP_EXECUTE, the play state comes back from XTYP_REQUEST in CF_TEXT.
// Failures are shown through the host only when the caller asks for it.
#pragma once

#include <windows.h>

#include <ddeml.h>

#include <cstdint>
#include <functional>

class PlayerHost;

class DdeClient {
   public:
    // Initialises DDEML as a client; a failure is shown once and every later
    // call then finds no conversation.
    explicit DdeClient(PlayerHost* host);
    ~DdeClient();
    DdeClient(const DdeClient&) = delete;
    DdeClient& operator=(const DdeClient&) = delete;

    // Runs when the player ends the conversation.
    void SetLostHandler(std::function<void()> handler);

    // The open conversation, null when none.
    HCONV Conversation() const;
    // True when a conversation was opened; unless quiet a failure is shown.
    bool Connect(const char* service, const char* topic, bool quiet);
    // True when a conversation was open (it is then closed).
    bool Disconnect();
    // True when one of tries attempts succeeded; with a label a failure is shown.
    bool Execute(const char* command, uint32_t timeOutMs, int32_t tries, const char* label);
    // True with the reply in buffer (empty when the server only timed out,
    // was busy or re-entered); false on other failures, shown when a label is given.
    bool Request(char* buffer, size_t bufferSize, const char* item, UINT format, uint32_t timeOutMs, const char* label);
    // Transactions in progress.
    int32_t BusyCount() const;

    // The DDEML callback; public so that tests can deliver a disconnect.
    static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR);

   private:
    // Starts the DDEML client instance; false when it could not.
    bool Initialize();
    // True when the stored conversation had ended and was released.
    bool ReleaseEndedConversation();
    // Runs the disconnect handling when the player ended the conversation.
    void NoticeEndedConversation();
    void ReportFailure(const char* format, const char* a, const char* b, UINT error);

    PlayerHost* host_;
    DWORD instance_ = 0;
    int32_t busyCount_ = 0;
    HCONV conversation_ = nullptr;
    std::function<void()> lostHandler_;
};
