#include "control/WidgetPrompter.h"

#include "transfer/widgets/OptionQuestionDialog.h"

#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// Shows a saved server reply as inert text: no script runs and no resource, local or remote,
// is loaded.
class InertPageView : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

} // namespace

void WidgetPrompter::message(const QString& title, const QString& text) {
    QMessageBox::information(parent_, title, text);
}

int WidgetPrompter::ask(const QString& title, const QString& text, const QStringList& buttons,
                        int defaultButton) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent_);
    QList<QAbstractButton*> added;
    for (const QString& label : buttons)
        added.append(box.addButton(label, QMessageBox::AcceptRole));
    if (defaultButton >= 0 && defaultButton < added.size())
        box.setDefaultButton(static_cast<QPushButton*>(added[defaultButton]));
    box.exec();
    const int chosen = added.indexOf(box.clickedButton());
    return chosen < 0 ? defaultButton : chosen;
}

QStringList WidgetPrompter::openFiles(const QString& title, const QString& folder,
                                      const QString& filter) {
    return QFileDialog::getOpenFileNames(parent_, title, folder, filter);
}

QString WidgetPrompter::chooseFolder(const QString& title, const QString& folder) {
    return QFileDialog::getExistingDirectory(parent_, title, folder);
}

void WidgetPrompter::showPage(const QString& title, const QString& htmlFile) {
    QDialog dialog(parent_);
    dialog.setWindowTitle(title);
    auto* view = new InertPageView(&dialog);
    view->setOpenLinks(false);
    QFile file(htmlFile);
    if (file.open(QIODevice::ReadOnly))
        view->setHtml(QString::fromUtf8(file.readAll()));
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(view);
    dialog.resize(640, 480);
    dialog.exec();
}

OptionAnswer WidgetPrompter::chooseOption(const OptionQuestion& question) {
    OptionQuestionDialog dialog(question, parent_);
    dialog.exec();
    return dialog.answer();
}

QString WidgetPrompter::saveFile(const QString& title, const QString& proposedPath,
                                 const QString& filter) {
    return QFileDialog::getSaveFileName(parent_, title, proposedPath, filter);
}
