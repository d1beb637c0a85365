#include "platform/classlib/testing/ScriptedDialogs.h"

#include "platform/base/Paths.h"
#include "platform/classlib/Boxes.h"

namespace tarvel {

void TScriptedDialogs::Forget() {
    boxAnswers_.clear();
    inputAnswers_.clear();
    fileAnswers_.clear();
    boxes_.clear();
    inputs_.clear();
    files_.clear();
}

int TScriptedDialogs::ShowBox(const TBoxRequest& request) { return TakeBoxAnswer(request); }

int TScriptedDialogs::TakeBoxAnswer(const TBoxRequest& request) {
    TBoxRecord record{
        request.type, request.buttons, request.caption, request.text, CloseAnswer(request.buttons), false};
    if (!boxAnswers_.empty()) {
        record.answer = boxAnswers_.front();
        record.scripted = true;
        boxAnswers_.pop_front();
    }
    boxes_.push_back(record);
    return record.answer;
}

bool TScriptedDialogs::InputQuery(const String& caption, const String& prompt, String& value) {
    std::optional<String> answer = TakeInputAnswer(caption, prompt, value);
    if (!answer) return false;
    value = *answer;
    return true;
}

std::optional<String> TScriptedDialogs::TakeInputAnswer(const String& caption, const String& prompt,
                                                        const String& value) {
    inputs_.push_back(TInputRecord{caption, prompt, value, !inputAnswers_.empty()});
    if (inputAnswers_.empty()) return std::nullopt;
    std::optional<String> answer = inputAnswers_.front();
    inputAnswers_.pop_front();
    return answer;
}

bool TScriptedDialogs::ChooseFile(TFileRequest& request) {
    files_.push_back(TFileRecord{request, !fileAnswers_.empty()});
    if (fileAnswers_.empty()) return false;
    std::optional<String> answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    if (!answer || answer->empty()) return false;
    String path = *answer;
    if (path[0] != '/') {
        String folder = request.initialDir.empty() ? GetCurrentDir() : request.initialDir;
        path = IncludeTrailingPathDelimiter(folder) + path;
    }
    request.fileName = path;
    return true;
}

}  // namespace tarvel
