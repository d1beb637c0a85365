#pragma once
// A dialog service for tests: boxes, input boxes and file dialogs are
// answered from a script and recorded, nothing is shown.

#include <deque>
#include <optional>
#include <vector>

#include "platform/classlib/DialogService.h"

namespace tarvel {

struct TBoxRecord {
    TMsgDlgType type = mtCustom;
    TMsgDlgButtons buttons;
    String caption;
    String text;
    int answer = 0;
    bool scripted = false;  // false: nothing was scripted, the box got its close answer
};

struct TInputRecord {
    String caption;
    String prompt;
    String value;  // as handed in
    bool scripted = false;
};

struct TFileRecord {
    TFileRequest request;  // as handed in
    bool scripted = false;
};

class TScriptedDialogs : public TDialogService {
public:
    // The answer (mrOk, mrYes ...) of the next box.
    void AnswerNextBox(int answer) { boxAnswers_.push_back(answer); }
    // The text the next input box is confirmed with; nullopt cancels it.
    void AnswerNextInput(const std::optional<String>& value) { inputAnswers_.push_back(value); }
    // The file the next open or save dialog chooses (a name without folder
    // lies in the dialog's initial folder); nullopt cancels it.
    void ChooseNextFile(const std::optional<String>& path) { fileAnswers_.push_back(path); }

    const std::vector<TBoxRecord>& Boxes() const { return boxes_; }
    const std::vector<TInputRecord>& Inputs() const { return inputs_; }
    const std::vector<TFileRecord>& Files() const { return files_; }
    // Scripted answers no box or dialog asked for.
    size_t UnusedAnswers() const { return boxAnswers_.size() + inputAnswers_.size() + fileAnswers_.size(); }
    void Forget();

    // The scripted answer of a box the driver answers on a real form, noted
    // as the service notes its own: the next box answer (else the close
    // answer), the next input answer (else a cancel).
    int TakeBoxAnswer(const TBoxRequest& request);
    std::optional<String> TakeInputAnswer(const String& caption, const String& prompt, const String& value);

    int ShowBox(const TBoxRequest& request) override;
    bool InputQuery(const String& caption, const String& prompt, String& value) override;
    bool ChooseFile(TFileRequest& request) override;

private:
    std::deque<int> boxAnswers_;
    std::deque<std::optional<String>> inputAnswers_;
    std::deque<std::optional<String>> fileAnswers_;
    std::vector<TBoxRecord> boxes_;
    std::vector<TInputRecord> inputs_;
    std::vector<TFileRecord> files_;
};

}  // namespace tarvel
