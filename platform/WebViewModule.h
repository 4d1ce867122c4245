#pragma once

#include <QUrl>
#include <QWidget>

namespace platform {

// What the separately loaded web view module offers. The module is loaded only when a
// web browser control is first made, so programs that never show one do not pay for it.
class WebViewModule {
  public:
    virtual ~WebViewModule() = default;
    // The view itself, a child of the parent given at creation.
    virtual QWidget* Widget() = 0;
    virtual void Navigate(const QUrl& address) = 0;
    virtual QUrl Location() const = 0;
    // Page loads begun and ended, successful or not.
    virtual int LoadsStarted() const = 0;
    virtual int LoadsFinished() const = 0;
    virtual int LoadsSucceeded() const = 0;
};

// The module's one exported function.
using CreateWebViewFunction = WebViewModule* (*)(QWidget* parent);
inline constexpr const char* kCreateWebViewSymbol = "tw_create_web_view";
inline constexpr const char* kWebViewModuleName = "libtw_webview.so";

} // namespace platform
