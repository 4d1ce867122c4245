// The web view module: the only code that links the web engine.
#include "platform/WebViewModule.h"

#include <QWebEngineView>

namespace {

class WebView : public QWebEngineView, public platform::WebViewModule {
  public:
    explicit WebView(QWidget* parent) : QWebEngineView(parent) {
        connect(this, &QWebEngineView::loadStarted, this, [this] { ++loadsStarted_; });
        connect(this, &QWebEngineView::loadFinished, this, [this](bool ok) {
            ++loadsFinished_;
            loadsSucceeded_ += ok ? 1 : 0;
        });
    }

    QWidget* Widget() override { return this; }
    void Navigate(const QUrl& address) override { load(address); }
    QUrl Location() const override { return url(); }
    int LoadsStarted() const override { return loadsStarted_; }
    int LoadsFinished() const override { return loadsFinished_; }
    int LoadsSucceeded() const override { return loadsSucceeded_; }

  private:
    int loadsStarted_ = 0;
    int loadsFinished_ = 0;
    int loadsSucceeded_ = 0;
};

} // namespace

extern "C" Q_DECL_EXPORT platform::WebViewModule* tw_create_web_view(QWidget* parent) {
    return new WebView(parent);
}
