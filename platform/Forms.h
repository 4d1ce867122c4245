#pragma once

#include "platform/Palette.h"
#include "platform/Runtime.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QEventLoop;

namespace platform {

constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(double twips) {
    return static_cast<int>(twips / kTwipsPerPixel);
}

enum ScaleModes { vbTwips = 1, vbPixels = 3 };

enum class BorderStyle { None, FixedSingle, Sizable, FixedDialog, FixedToolWindow };
enum class StartPosition { Manual, CenterScreen, WindowsDefault };

struct WindowStyle {
    BorderStyle border = BorderStyle::Sizable;
    bool controlBox = true; // close box
    bool showInTaskbar = true;
    StartPosition startPosition = StartPosition::WindowsDefault;
    int clientWidthTwips = 0;
    int clientHeightTwips = 0;
    Colour backColor = 0x8000000F;
    std::string caption;
};

// A font as the designs give it: name and size in points at 96 pixels an inch.
struct FontSpec {
    std::string name;
    double points = 8.25;
    bool bold = false;
    bool italic = false;
};

QColor ToQColor(Colour colour);
QString ToQ(const std::string& text);
std::string FromQ(const QString& text);
void ApplyFont(QWidget* widget, const FontSpec& font);

// Mouse events pass button (1 left, 2 right, 4 middle), shift state and position.
using MouseHandler = std::function<void(int button, int shift, float x, float y)>;
using ClickHandler = std::function<void()>;

// A reference to a window or control that never keeps it alive: it reads as null once
// the window or control is gone.
template <class T> using ControlRef = QPointer<T>;

// A window of the forms runtime. Its handlers run one at a time on the UI thread.
class Form : public QWidget {
  public:
    explicit Form(const WindowStyle& style);
    ~Form() override;

    // Modeless, or modal with 1: then returns when the window is hidden or unloaded.
    void Show(int modal = 0);
    void Hide();
    // Runs Form_Unload, hides and destroys the window; the next use creates it anew.
    void Unload();

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    // Position and size of the window in twips.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int twips);
    void SetTop(int twips);
    void SetWidth(int twips);
    void SetHeight(int twips);

    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode) { scaleMode_ = mode; }
    double ScaleLeft() const { return 0; }
    double ScaleTop() const { return 0; }
    double ScaleWidth() const;
    double ScaleHeight() const;
    // Converts between the window's scale units and pixels.
    int ToPixels(double units) const;
    double FromPixels(int pixels) const;

    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool on) { autoRedraw_ = on; }

    // Draws a box outline in the window's scale units, onto its persistent image.
    void LineBox(double x1, double y1, double x2, double y2, Colour colour);
    // A line control: two end points in twips, a colour and a width in pixels.
    void AddLine(int x1, int y1, int x2, int y2, Colour colour, int widthPixels);

    void SetIcon(const std::string& resource32, const std::string& resource16);

    WindowHandle hwnd();
    bool Loaded() const { return !unloaded_; }

  protected:
    virtual void Form_Load() {}
    virtual void Form_Unload(int& Cancel) { (void)Cancel; }
    virtual void Form_Resize() {}
    virtual void Form_KeyPress(int& KeyAscii) { (void)KeyAscii; }

    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    // Places the window as its design says when it is first shown.
    void ApplyStartPosition();

  private:
    template <class T> friend class FormOf;
    void RunLoad(std::function<void()> onUnloaded);

    struct Line {
        int x1, y1, x2, y2;
        Colour colour;
        int width;
    };

    WindowStyle style_;
    int scaleMode_ = vbTwips;
    bool autoRedraw_ = false;
    bool placed_ = false;
    bool unloaded_ = false;
    std::vector<Line> lines_;
    std::vector<Line> boxes_;
    std::function<void()> onUnloaded_;
    QEventLoop* modalLoop_ = nullptr;
};

// The one global instance of a window class, created (running its Form_Load) on
// first use and destroyed by Unload.
template <class T> class FormOf : public Form {
  public:
    using Form::Form;

    static T& Instance() {
        if (T* existing = Slot())
            return *existing;
        T* created = new T;
        Slot() = created;
        // The window may unload itself inside its own Form_Load; it stays alive until
        // the handlers that use it have returned.
        created->RunLoad([created] {
            if (Slot() == created)
                Slot() = nullptr;
        });
        return *created;
    }
    static bool IsLoaded() { return Slot() != nullptr; }

  private:
    static T*& Slot() {
        static T* slot = nullptr;
        return slot;
    }
};

} // namespace platform
