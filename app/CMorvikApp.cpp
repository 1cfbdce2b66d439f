#include "app/CMorvikApp.h"

#include "app/CMorvikDlg.h"

#include <QApplication>

namespace morvik {

CMorvikApp::CMorvikApp(Prompt& prompt) : prompt_(prompt) {}

CMorvikApp::~CMorvikApp() = default;

CMorvikDlg& CMorvikApp::start(const QStringList& arguments, const SettingsLocation& settings) {
    dialog_ = std::make_unique<CMorvikDlg>(prompt_);
    Session& session = dialog_->session();
    session.readSettings(settings.readPath.toStdString());
    session.setSettingsWritePath(settings.writePath.toStdString());
    dialog_->start();
    dialog_->show();
    if (arguments.size() > 1)
        dialog_->openFromDesktop(arguments.at(1), false);
    return *dialog_;
}

int CMorvikApp::exec() {
    if (!dialog_)
        return 0;
    QObject::connect(dialog_.get(), &QDialog::finished, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return QApplication::exec();
}

} // namespace morvik
