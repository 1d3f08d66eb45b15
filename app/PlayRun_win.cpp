// The play run: play control with the message held during a DDE
// transaction, the end-of-song tick, the command and message routes, and
// playing a tree node's songs.
#include "app/PlayRun_win.h"

#include <windows.h>

#include "app/BrowseSession_win.h"
#include "core/CommandIds.h"
#include "core/Text.h"
#include "ui/rules/BrowseRules.h"

PlayRun::PlayRun(MainWindow* main,
                 SWindow& client,
                 AppState& app,
                 ClientPanes& panes,
                 ListSelection& selection,
                 BrowseSession& browse,
                 DialogCommands& dialogs)
    : main_(main),
      client_(client),
      app_(app),
      panes_(panes),
      selection_(selection),
      browse_(browse),
      dialogs_(dialogs),
      player_(std::make_unique<PlayController>(this)) {
}

PlayRun::~PlayRun() = default;

using P = PlayRun;

const CommandRoute<PlayRun> PlayRun::kCommands[] = {
    {kCmdTreePlaySequential, &P::PlayTreeSequential},
    {kCmdTreePlayRandom, &P::PlayTreeRandom},
};

const MessageRoute<PlayRun> PlayRun::kMessages[] = {
    {kMsgPlayControl2, &P::OnPlayControl2},
};

bool PlayRun::RunCommand(MessageContext& m) {
    const int id = LOWORD(m.wParam);
    if (IsPlayerCommand(id)) {
        m.handled = 1;
        RunPlayCommand(id);
        return true;
    }
    return RouteCommand(this, kCommands, m);
}

bool PlayRun::RunMessage(MessageContext& m) {
    return RouteMessage(this, kMessages, m);
}

LRESULT PlayRun::OnPlayControl2(WPARAM, LPARAM) {
    RunPlayCommand(kCmdPlay);
    return 0;
}

void PlayRun::Tick() {
    if (player_) {
        player_->EndOfSongTick();
    }
}

void PlayRun::HoldMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    pending_ = {true, message, wParam, lParam};
}

bool PlayRun::InTransaction() const {
    return player_ && player_->dde().BusyCount() != 0;
}

bool PlayRun::HandOverRunning() const {
    return player_ && player_->handOverRunning();
}

bool PlayRun::Busy() const {
    return busy_;
}

PlayMode PlayRun::CurrentPlayMode() const {
    return player_ ? player_->mode() : PlayMode::kNone;
}

PlayController* PlayRun::Player() const {
    return player_.get();
}

void PlayRun::PlayTreeSequential() {
    PlayTreeNode(kCmdPlaySequential);
}

void PlayRun::PlayTreeRandom() {
    PlayTreeNode(kCmdPlayRandom);
}

// The node becomes the current location and its songs are played from the
// first one.
void PlayRun::PlayTreeNode(int playCommand) {
    FolderTreeWindow& tree = *panes_.tree;
    HTREEITEM node = tree.CommandNode();
    if (node == nullptr || (tree.Attributes(node) & kNodeRootBit)) {
        return;
    }
    const std::string path = tree.NodePath(node);
    if (CompareNoCase(path.c_str(), browse_.Catalogue().location.c_str()) != 0 && !tree.SelectTreePath(path)) {
        return;
    }
    if (ObjectCount() == 0) {
        return;
    }
    selection_.ClearSelection();
    FocusRow(0);
    SelectRow(0);
    RunPlayCommand(playCommand);
}
