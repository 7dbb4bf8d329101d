#include "transfer/UploadOverwrite.h"

#include "common/Prompter.h"
#include "xml/UIConfig.h"

namespace {

QString QuestionText(const DialogTexts& texts, const UploadOverwriteQuestion& question) {
    const QString oldFile =
        texts.text("W_OldFileTxt") + ' ' + question.oldSize + ' ' + question.oldDate;
    const QString newFile =
        texts.text("W_NewFileTxt") + ' ' + question.newSize + ' ' + question.newDate;
    return texts.text("W_FilenameTxt") + ' ' + question.fileName + '\n' + texts.text("W_Comment") +
           '\n' + oldFile.trimmed() + '\n' + newFile.trimmed();
}

} // namespace

short askUploadOverwrite(Prompter& prompter, const UIConfig& uiConfig,
                         const UploadOverwriteQuestion& question) {
    const DialogTexts texts = uiConfig.Dialog(UIDialog::UpOverwriteMsgWin);
    const QStringList buttons{texts.text("W_YesBut"), texts.text("W_AllYesBut"),
                              texts.text("W_NoBut"), texts.text("W_CancelBut")};
    const int cancelIndex = UploadOverwriteAnswer::Cancel - 1;
    const int chosen = prompter.ask(texts.text("WindowsTitle"), QuestionText(texts, question),
                                    buttons, cancelIndex);
    if (chosen < 0 || chosen >= buttons.size())
        return UploadOverwriteAnswer::Cancel;
    return static_cast<short>(chosen + 1);
}
