#include "platform/WebBrowser.h"

#include "platform/Controls.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/WebViewModule.h"

#include <QFileInfo>
#include <QLibrary>
#include <QResizeEvent>

namespace platform {

namespace {

// The module sits in the program folder; a build tree also knows where it built it.
QStringList ModuleCandidates() {
    QStringList candidates{QString::fromLocal8Bit(AppPath()) + QLatin1String(kWebViewModuleName)};
#ifdef TW_WEBVIEW_BUILD_PATH
    candidates << QStringLiteral(TW_WEBVIEW_BUILD_PATH);
#endif
    return candidates;
}

// Loaded once and kept for the life of the program: views made by it may still exist.
CreateWebViewFunction LoadModule(std::string& failure) {
    static CreateWebViewFunction create = nullptr;
    static std::string lastFailure;
    if (create)
        return create;
    lastFailure.clear();
    for (const QString& candidate : ModuleCandidates()) {
        if (!QFileInfo::exists(candidate))
            continue;
        QLibrary library(candidate);
        create = reinterpret_cast<CreateWebViewFunction>(library.resolve(kCreateWebViewSymbol));
        if (create)
            return create;
        lastFailure = FromQ(library.errorString());
    }
    if (lastFailure.empty())
        lastFailure = "the web view module " + std::string(kWebViewModuleName) +
                      " is not in the program folder";
    failure = lastFailure;
    return nullptr;
}

} // namespace

WebBrowser::WebBrowser(QWidget* parent, int left, int top, int width, int height)
    : QWidget(parent) {
    PlaceTwips(this, left, top, width, height);
    if (CreateWebViewFunction create = LoadModule(loadFailure_)) {
        view_ = create(this);
        view_->Widget()->setGeometry(rect());
    }
}

void WebBrowser::Navigate(const std::string& address) {
    if (!view_)
        Raise(ErrAutomation, "No web view: " + loadFailure_);
    ++navigations_;
    const QString text = QString::fromLocal8Bit(address);
    const QUrl url = text.startsWith(QLatin1Char('/'))
                         ? QUrl::fromLocalFile(QString::fromLocal8Bit(ResolvePath(address)))
                         : QUrl::fromUserInput(text);
    view_->Navigate(url);
}

void WebBrowser::Move(double left, double top, double width, double height) {
    auto* form = dynamic_cast<Form*>(window());
    auto px = [form](double v) { return form ? form->ToPixels(v) : static_cast<int>(v); };
    setGeometry(px(left), px(top), px(width), px(height));
}

std::string WebBrowser::LocationURL() const {
    return view_ ? FromQ(view_->Location().toString()) : std::string();
}
int WebBrowser::LoadsStarted() const {
    return view_ ? view_->LoadsStarted() : 0;
}
int WebBrowser::LoadsFinished() const {
    return view_ ? view_->LoadsFinished() : 0;
}
int WebBrowser::LoadsSucceeded() const {
    return view_ ? view_->LoadsSucceeded() : 0;
}

void WebBrowser::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (view_)
        view_->Widget()->setGeometry(rect());
}

} // namespace platform
