// The small dialogs: one text field (title, comment, new folder and list
// file names), the sound module choice and the version dialog, each from a
// template in memory and run modally.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/BagBox.h"
#include "ui/framework/DialogTemplate_win.h"
#include "ui/framework/Dialog_win.h"

// Bytes a changed title or comment may hold, without the terminator.
constexpr int kChangedTextBytes = 255;

// One edit field under a label. OK returns its text.
class TextDialog : public SDialog {
   public:
    TextDialog(SWindow* owner, const char* caption, const char* label, int maxBytes, std::string* text);

   protected:
    void OnInitDialog(MessageContext& m) override;
    void OnCommand(MessageContext& m) override;

   private:
    std::unique_ptr<DialogTemplate> template_;
    int maxBytes_;
    std::string* text_;
};

// The list of sound modules with the current one selected.
class ModuleChoiceDialog : public SDialog {
   public:
    ModuleChoiceDialog(SWindow* owner, const BagBox& modules, std::string* name);

   protected:
    void OnInitDialog(MessageContext& m) override;
    void OnCommand(MessageContext& m) override;
    void OnNotify(MessageContext& m) override;

   private:
    const BagBox& modules_;
    std::string* name_;
};

// "タイトルを変更": true with the new title when the user chose OK.
bool AskTitle(SWindow* owner, std::string* title);
// "コメントを変更": true with the new comment when the user chose OK.
bool AskComment(SWindow* owner, std::string* comment);
// "音源を変更": *name is the current module on entry; true with the chosen one.
bool ChooseSoundModule(SWindow* owner, const BagBox& modules, std::string* name);
// Name dialogs for the folder tree: "フォルダを新規作成", "フォルダの名前を
//変更", "リストファイルを新規作成", "リストファイルの名前を変更". *name
// is the proposed name on entry; true with a non-empty name on OK.
bool AskItemName(SWindow* owner, const char* caption, std::string* name);
// The version dialog; returns when it is closed.
void ShowVersionDialog(SWindow* owner);
