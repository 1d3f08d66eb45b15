// The DDE client conversation with a player.
#include "player/DdeClient_win.h"

#include <cstdio>
#include <string>
#include <utility>

#include "player/PendingMessages_win.h"
#include "player/PlayerHost.h"

// DDEML calls back without a context; there is one client in the program.
static DdeClient* activeClient = nullptr;

DdeClient::DdeClient(PlayerHost* host) : host_(host) {
    activeClient = this;
    if (!Initialize()) {
        host_->ShowError("DDE : イニシャライズできません。");
    }
}

bool DdeClient::Initialize() {
    // A non-zero identifier would ask DDEML to change that instance.
    instance_ = 0;
    if (DdeInitializeA(&instance_, reinterpret_cast<PFNCALLBACK>(&DdeClient::Callback), APPCMD_CLIENTONLY, 0) !=
        DMLERR_NO_ERROR) {
        instance_ = 0;
        return false;
    }
    return true;
}

DdeClient::~DdeClient() {
    if (instance_ != 0) {
        DdeUninitialize(instance_);
        instance_ = 0;
    }
    if (activeClient == this) {
        activeClient = nullptr;
    }
}

// A server built on Wine's DDEML follows each answered request with an extra
// acknowledgement; one still queued when the next transaction starts would be
// taken as that transaction's reply. Dispatching what has arrived first keeps
// back-to-back transactions apart.
static void DrainMessages() {
    const DWORD start = GetTickCount();
    do {
        if (DispatchPendingMessages()) {
            return;
        }
        Sleep(1);
    } while (GetTickCount() - start < 1);
}

// The error of a failed transaction. A server that acknowledged it with the
// busy flag makes Windows' DDEML report DMLERR_BUSY; Wine's reports every
// refusal as DMLERR_NOTPROCESSED and leaves the flags only in the result
// word, so the flag is read there.
static UINT TransactionError(DWORD instance, DWORD result) {
    const UINT error = DdeGetLastError(instance);
    return (result & DDE_FBUSY) ? DMLERR_BUSY : error;
}

// Windows' DDEML reports a conversation the player ended through the
// callback, while the queue is dispatched. Wine's never calls back: it marks
// the conversation no longer connected (the player ended it, or a message to
// a player that is gone could not be posted) and keeps it, and while it is
// kept it refuses a new conversation with the same service and topic.
// DdeDisconnect does not release a conversation in that state; only the end
// of the instance does, so the instance is started afresh.
bool DdeClient::ReleaseEndedConversation() {
    CONVINFO info = {};
    info.cb = sizeof(info);
    if (!conversation_ || DdeQueryConvInfo(conversation_, QID_SYNC, &info) == 0 || (info.wStatus & ST_CONNECTED)) {
        return false;
    }
    conversation_ = nullptr;
    DdeUninitialize(instance_);
    Initialize();
    return true;
}

// The conversation's state read after the drain stands in for a disconnect
// notification that did not come.
void DdeClient::NoticeEndedConversation() {
    if (ReleaseEndedConversation() && lostHandler_) {
        lostHandler_();
    }
}

void DdeClient::SetLostHandler(std::function<void()> handler) {
    lostHandler_ = std::move(handler);
}

HCONV DdeClient::Conversation() const {
    return conversation_;
}

int32_t DdeClient::BusyCount() const {
    return busyCount_;
}

void DdeClient::ReportFailure(const char* format, const char* a, const char* b, UINT error) {
    host_->RefreshCommandStates();
    char text[1024];
    std::snprintf(text, sizeof(text), format, error, a, b);
    host_->ShowError(text);
}

bool DdeClient::Connect(const char* service, const char* topic, bool quiet) {
    if (instance_ == 0) {
        if (!quiet) {
            ReportFailure("DDE : コネクトできません。(%x)\n\nService '%s'\nTopic '%s'", service, topic,
                          DMLERR_DLL_NOT_INITIALIZED);
        }
        return false;
    }
    // A new conversation replaces the stored one; one that ended unnoticed
    // must be released first or it blocks the new one.
    ReleaseEndedConversation();
    HSZ serviceHandle = DdeCreateStringHandleA(instance_, service, CP_WINANSI);
    HSZ topicHandle = DdeCreateStringHandleA(instance_, topic, CP_WINANSI);
    conversation_ = DdeConnect(instance_, serviceHandle, topicHandle, nullptr);
    DdeFreeStringHandle(instance_, serviceHandle);
    DdeFreeStringHandle(instance_, topicHandle);
    if (conversation_) {
        return true;
    }
    if (!quiet) {
        ReportFailure("DDE : コネクトできません。(%x)\n\nService '%s'\nTopic '%s'", service, topic,
                      DdeGetLastError(instance_));
    }
    return false;
}

bool DdeClient::Disconnect() {
    if (!conversation_) {
        return false;
    }
    if (ReleaseEndedConversation()) {
        return true;
    }
    DdeDisconnect(conversation_);
    conversation_ = nullptr;
    return true;
}

bool DdeClient::Execute(const char* command, uint32_t timeOutMs, int32_t tries, const char* label) {
    if (!conversation_) {
        return false;
    }
    ++busyCount_;
    DrainMessages();
    NoticeEndedConversation();
    if (!conversation_) {
        // The player ended the conversation while the queue was drained.
        --busyCount_;
        return false;
    }
    bool done = false;
    DWORD result = 0;
    std::string data = command;
    for (int32_t attempt = 0; attempt < tries && !done; ++attempt) {
        result = 0;
        done = DdeClientTransaction(reinterpret_cast<LPBYTE>(&data[0]), static_cast<DWORD>(data.size() + 1),
                                    conversation_, nullptr, 0, XTYP_EXECUTE, timeOutMs, &result) != nullptr;
    }
    if (!done && label) {
        ReportFailure("DDE : トランザクションに失敗しました。(%x)\n\n%s\nXTYP_EXECUTE '%s'", label, command,
                      TransactionError(instance_, result));
    }
    --busyCount_;
    return done;
}

bool DdeClient::Request(char* buffer,
                        size_t bufferSize,
                        const char* item,
                        UINT format,
                        uint32_t timeOutMs,
                        const char* label) {
    if (!conversation_) {
        return false;
    }
    ++busyCount_;
    DrainMessages();
    NoticeEndedConversation();
    if (!conversation_) {
        --busyCount_;
        if (bufferSize > 0) {
            buffer[0] = '\0';
        }
        return false;
    }
    HSZ itemHandle = DdeCreateStringHandleA(instance_, item, CP_WINANSI);
    DWORD result = 0;
    HDDEDATA data =
        DdeClientTransaction(nullptr, 0, conversation_, itemHandle, format, XTYP_REQUEST, timeOutMs, &result);
    DdeFreeStringHandle(instance_, itemHandle);
    bool answered = true;
    if (data) {
        const DWORD got = DdeGetData(data, reinterpret_cast<LPBYTE>(buffer), static_cast<DWORD>(bufferSize), 0);
        if (bufferSize > 0) {
            // Keep the reply terminated even when the server sent no NUL.
            buffer[got < bufferSize ? got : bufferSize - 1] = '\0';
        }
        DdeFreeDataHandle(data);
    } else {
        const UINT error = TransactionError(instance_, result);
        answered = error == DMLERR_ADVACKTIMEOUT || error == DMLERR_BUSY || error == DMLERR_DATAACKTIMEOUT ||
                   error == DMLERR_REENTRANCY;
        if (!answered && label) {
            ReportFailure("DDE : トランザクションに失敗しました。(%x)\n\n%s\nXTYP_REQUEST '%s'", label, item, error);
        }
        if (bufferSize > 0) {
            buffer[0] = '\0';
        }
    }
    --busyCount_;
    return answered;
}

HDDEDATA CALLBACK DdeClient::Callback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    if (type == XTYP_DISCONNECT && activeClient) {
        activeClient->conversation_ = nullptr;
        if (activeClient->lostHandler_) {
            activeClient->lostHandler_();
        }
    }
    return nullptr;
}
