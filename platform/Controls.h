#pragma once

#include "platform/Forms.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <string>
#include <vector>

namespace platform {

// Places a control in twips relative to its window or frame.
void PlaceTwips(QWidget* control, int left, int top, int width, int height);

enum class Alignment { Left, Right, Center };

class Label : public QLabel {
  public:
    Label(QWidget* parent, const std::string& caption, int left, int top, int width, int height);

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    Colour ForeColor() const { return foreColor_; }
    void SetForeColor(Colour colour);
    Colour BackColor() const { return backColor_; }
    void SetBackColor(Colour colour);
    int BackStyle() const { return backStyle_; }
    void SetBackStyle(int style); // 0 transparent, 1 opaque
    void SetAlignment(Alignment alignment);
    void SetWordWrap(bool wrap) { setWordWrap(wrap); }
    void SetFont(const FontSpec& font) { ApplyFont(this, font); }

    ClickHandler Click;
    MouseHandler MouseDown, MouseMove, MouseUp;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void ApplyColours();
    Colour foreColor_ = 0x80000012;
    Colour backColor_ = 0x8000000F;
    int backStyle_ = 1;
};

// A text box; `Text` keeps the bytes as given (CR LF line ends included).
class TextBox : public QPlainTextEdit {
  public:
    enum class ScrollBars { None, Horizontal, Vertical, Both };
    TextBox(QWidget* parent, int left, int top, int width, int height, ScrollBars bars);

    std::string Text() const { return text_; }
    void SetText(const std::string& text);
    int SelStart() const;
    void SetSelStart(int position);
    bool Locked() const { return isReadOnly(); }
    void SetLocked(bool locked) { setReadOnly(locked); }
    void SetForeColor(Colour colour);
    void SetBackColor(Colour colour);
    void SetFont(const FontSpec& font) { ApplyFont(this, font); }
    void Move(double left, double top, double width, double height); // in the window's units

  private:
    std::string text_;
    bool settingText_ = false;
};

class ListBox : public QListWidget {
  public:
    ListBox(QWidget* parent, int left, int top, int width, int height);
    void AddItem(const std::string& item);
    std::string List(int index) const;
    int ListCount() const { return count(); }
    // The selected entry, -1 with none: the focus frame alone selects nothing.
    int ListIndex() const;
    void SetListIndex(int index) { setCurrentRow(index); }
    // The text of the selected entry; empty with none selected.
    std::string Text() const;
};

// The invisible file list: the names of a folder's files that match a pattern.
class FileListBox {
  public:
    std::string Path() const { return path_; }
    void SetPath(const std::string& path);
    std::string Pattern() const { return pattern_; }
    void SetPattern(const std::string& pattern);
    int ListCount() const { return static_cast<int>(names_.size()); }
    std::string List(int index) const;

  private:
    void Refresh();
    std::string path_ = ".";
    std::string pattern_ = "*.*";
    std::vector<std::string> names_;
};

class Frame : public QGroupBox {
  public:
    Frame(QWidget* parent, const std::string& caption, int left, int top, int width, int height);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool enabled) { setEnabled(enabled); }
    void SetForeColor(Colour colour);
    void SetBackColor(Colour colour);
};

// An option button; buttons with the same parent form one group. The graphical style
// draws it as a push button that stays down while chosen.
class OptionButton : public QWidget {
  public:
    enum class Style { Standard, Graphical };
    OptionButton(QWidget* parent, const std::string& caption, int left, int top, int width,
                 int height, Style style = Style::Standard);

    bool Value() const { return button_->isChecked(); }
    void SetValue(bool value);
    std::string Caption() const { return FromQ(button_->text()); }
    Colour ForeColor() const { return foreColor_; }
    void SetForeColor(Colour colour);
    void SetBackColor(Colour colour);
    QAbstractButton* Button() const { return button_; }

    ClickHandler Click;
    MouseHandler MouseMove, MouseUp;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static QButtonGroup* GroupOf(QWidget* container);

    QAbstractButton* button_;
    bool forwarding_ = false;
    Colour foreColor_ = 0x80000012;
};

class CommandButton : public QPushButton {
  public:
    CommandButton(QWidget* parent, const std::string& caption, int left, int top, int width,
                  int height);
    void SetDefault(bool isDefault);
    void SetBackColor(Colour colour);
    ClickHandler Click;
};

// A picture shown as it is (the image control).
class Image : public QLabel {
  public:
    Image(QWidget* parent, int left, int top, int width, int height);
    void SetPictureResource(const std::string& resource);
};

class Timer {
  public:
    Timer();
    bool Enabled() const { return timer_.isActive(); }
    void SetEnabled(bool enabled);
    int Interval() const { return timer_.interval(); }
    void SetInterval(int milliseconds) { timer_.setInterval(milliseconds); }
    ClickHandler Tick;

  private:
    QTimer timer_;
};

} // namespace platform
