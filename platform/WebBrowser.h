#pragma once

#include "platform/Forms.h"

#include <QWidget>

#include <string>

namespace platform {

class WebViewModule;

// The web browser control: a web view that opens a page by its file path. Its engine
// lives in a module of its own, loaded the first time such a control is made.
class WebBrowser : public QWidget {
  public:
    WebBrowser(QWidget* parent, int left, int top, int width, int height);

    // Opens a page; a plain file path opens that file. Raises when no web view could be made.
    void Navigate(const std::string& address);
    // In the window's scale units.
    void Move(double left, double top, double width, double height);

    std::string LocationURL() const;
    int Navigations() const { return navigations_; }
    int LoadsStarted() const;
    int LoadsFinished() const;
    int LoadsSucceeded() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    WebViewModule* view_ = nullptr;
    std::string loadFailure_;
    int navigations_ = 0;
};

} // namespace platform
