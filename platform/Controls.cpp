#include "platform/Controls.h"

#include "platform/Errors.h"
#include "platform/FileSystem.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextCursor>

namespace platform {

void PlaceTwips(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                         TwipsToPixels(height));
}

namespace {

int ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int ShiftOf(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

void Fire(const MouseHandler& handler, const QMouseEvent* event, int button) {
    if (!handler)
        return;
    const QPointF at = event->position();
    RunHandler([&] {
        handler(button, ShiftOf(event->modifiers()), static_cast<float>(at.x()),
                static_cast<float>(at.y()));
    });
}

void Fire(const ClickHandler& handler) {
    if (handler)
        RunHandler(handler);
}

void SetRole(QWidget* widget, QPalette::ColorRole role, Colour colour) {
    QPalette pal = widget->palette();
    pal.setColor(role, ToQColor(colour));
    widget->setPalette(pal);
}

} // namespace

// Label

Label::Label(QWidget* parent, const std::string& caption, int left, int top, int width, int height)
    : QLabel(ToQ(caption), parent) {
    PlaceTwips(this, left, top, width, height);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setMouseTracking(true);
    ApplyColours();
}

std::string Label::Caption() const {
    return FromQ(text());
}
void Label::SetCaption(const std::string& caption) {
    setText(ToQ(caption));
    ScreenMayHaveChanged();
}

void Label::SetForeColor(Colour colour) {
    foreColor_ = colour;
    ApplyColours();
}
void Label::SetBackColor(Colour colour) {
    backColor_ = colour;
    ApplyColours();
}
void Label::SetBackStyle(int style) {
    backStyle_ = style;
    ApplyColours();
}

void Label::SetAlignment(Alignment alignment) {
    const Qt::Alignment horizontal = alignment == Alignment::Center  ? Qt::AlignHCenter
                                     : alignment == Alignment::Right ? Qt::AlignRight
                                                                     : Qt::AlignLeft;
    setAlignment(horizontal | Qt::AlignTop);
}

void Label::ApplyColours() {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, ToQColor(foreColor_));
    pal.setColor(QPalette::Window, ToQColor(backColor_));
    setPalette(pal);
    setAutoFillBackground(backStyle_ == 1);
    update();
    ScreenMayHaveChanged();
}

void Label::mousePressEvent(QMouseEvent* event) {
    Fire(MouseDown, event, ButtonOf(event->button()));
}

void Label::mouseMoveEvent(QMouseEvent* event) {
    Fire(MouseMove, event, ButtonOf(Qt::MouseButton(static_cast<int>(event->buttons()) & 7)));
}

void Label::mouseReleaseEvent(QMouseEvent* event) {
    // The release arrives first, then the click when it ends over the label.
    Fire(MouseUp, event, ButtonOf(event->button()));
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Fire(Click);
}

// TextBox

namespace {
QString ForDisplay(const std::string& text) {
    QString shown = ToQ(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}
} // namespace

TextBox::TextBox(QWidget* parent, int left, int top, int width, int height, ScrollBars bars)
    : QPlainTextEdit(parent) {
    PlaceTwips(this, left, top, width, height);
    const bool horizontal = bars == ScrollBars::Horizontal || bars == ScrollBars::Both;
    const bool vertical = bars == ScrollBars::Vertical || bars == ScrollBars::Both;
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (settingText_)
            return;
        // An edit by the user: the box's text becomes what it shows, with CR LF line ends.
        QString shown = toPlainText();
        shown.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        text_ = FromQ(shown);
    });
}

void TextBox::SetText(const std::string& text) {
    settingText_ = true;
    text_ = text;
    setPlainText(ForDisplay(text));
    settingText_ = false;
    ScreenMayHaveChanged();
}

int TextBox::SelStart() const {
    // Caret positions count the stored bytes, so CR LF counts two.
    const int shown = textCursor().position();
    int bytes = 0;
    int characters = 0;
    while (bytes < static_cast<int>(text_.size()) && characters < shown) {
        if (text_[static_cast<size_t>(bytes)] == '\r' &&
            bytes + 1 < static_cast<int>(text_.size()) &&
            text_[static_cast<size_t>(bytes) + 1] == '\n')
            ++bytes;
        ++bytes;
        ++characters;
    }
    return bytes;
}

void TextBox::SetSelStart(int position) {
    int characters = 0;
    for (int i = 0; i < position && i < static_cast<int>(text_.size()); ++i) {
        if (text_[static_cast<size_t>(i)] == '\r' && i + 1 < static_cast<int>(text_.size()) &&
            text_[static_cast<size_t>(i) + 1] == '\n')
            ++i;
        ++characters;
    }
    QTextCursor cursor = textCursor();
    cursor.setPosition(characters);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TextBox::SetForeColor(Colour colour) {
    SetRole(this, QPalette::Text, colour);
}
void TextBox::SetBackColor(Colour colour) {
    SetRole(this, QPalette::Base, colour);
}

void TextBox::Move(double left, double top, double width, double height) {
    auto* form = dynamic_cast<Form*>(window());
    auto px = [form](double v) { return form ? form->ToPixels(v) : static_cast<int>(v); };
    setGeometry(px(left), px(top), px(width), px(height));
}

// ListBox

ListBox::ListBox(QWidget* parent, int left, int top, int width, int height) : QListWidget(parent) {
    PlaceTwips(this, left, top, width, height);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
}

void ListBox::AddItem(const std::string& item) {
    addItem(ToQ(item));
}

std::string ListBox::List(int index) const {
    if (index < 0 || index >= count())
        Raise(ErrInvalidProcedureCall, "Invalid list index");
    return FromQ(item(index)->text());
}

int ListBox::ListIndex() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.front());
}

std::string ListBox::Text() const {
    const int index = ListIndex();
    return index < 0 ? std::string() : List(index);
}

// FileListBox

void FileListBox::SetPath(const std::string& path) {
    const std::vector<std::string> names = ListFiles(path, pattern_);
    path_ = path;
    names_ = names;
}

void FileListBox::SetPattern(const std::string& pattern) {
    pattern_ = pattern;
    Refresh();
}

void FileListBox::Refresh() {
    names_ = ListFiles(path_, pattern_);
}

std::string FileListBox::List(int index) const {
    if (index < 0 || index >= ListCount())
        Raise(ErrInvalidProcedureCall, "Invalid file list index");
    return names_[static_cast<size_t>(index)];
}

// Frame

Frame::Frame(QWidget* parent, const std::string& caption, int left, int top, int width, int height)
    : QGroupBox(ToQ(caption), parent) {
    PlaceTwips(this, left, top, width, height);
    setAutoFillBackground(true);
}

void Frame::SetForeColor(Colour colour) {
    SetRole(this, QPalette::WindowText, colour);
}
void Frame::SetBackColor(Colour colour) {
    SetRole(this, QPalette::Window, colour);
}

// OptionButton

OptionButton::OptionButton(QWidget* parent, const std::string& caption, int left, int top,
                           int width, int height, Style style)
    : QWidget(parent) {
    PlaceTwips(this, left, top, width, height);
    if (style == Style::Graphical)
        button_ = new QPushButton(ToQ(caption), this);
    else
        button_ = new QRadioButton(ToQ(caption), this);
    button_->setCheckable(true);
    button_->setGeometry(0, 0, TwipsToPixels(width), TwipsToPixels(height));
    button_->setMouseTracking(true);
    button_->installEventFilter(this);
    setAutoFillBackground(true);
    GroupOf(parent)->addButton(button_);
    connect(button_, &QAbstractButton::clicked, this, [this] { Fire(Click); });
}

void OptionButton::SetValue(bool value) {
    if (value) {
        button_->setChecked(true);
        return;
    }
    // An exclusive group refuses to clear its chosen button; clearing is ours to do.
    QButtonGroup* group = button_->group();
    group->setExclusive(false);
    button_->setChecked(false);
    group->setExclusive(true);
}

// Option buttons group by their container, as the designs lay them out. Each button sits
// in a holder widget of its own, so Qt's grouping by parent cannot see its siblings.
QButtonGroup* OptionButton::GroupOf(QWidget* container) {
    static constexpr char kGroupName[] = "tw-option-group";
    if (auto* group = container->findChild<QButtonGroup*>(kGroupName, Qt::FindDirectChildrenOnly))
        return group;
    auto* group = new QButtonGroup(container);
    group->setObjectName(kGroupName);
    group->setExclusive(true);
    return group;
}

void OptionButton::SetForeColor(Colour colour) {
    foreColor_ = colour;
    SetRole(button_, QPalette::WindowText, colour);
    SetRole(button_, QPalette::ButtonText, colour);
}

void OptionButton::SetBackColor(Colour colour) {
    SetRole(this, QPalette::Window, colour);
    SetRole(button_, QPalette::Window, colour);
    SetRole(button_, QPalette::Button, colour);
}

bool OptionButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == button_) {
        if (event->type() == QEvent::MouseMove) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            Fire(MouseMove, mouse,
                 ButtonOf(Qt::MouseButton(static_cast<int>(mouse->buttons()) & 7)));
        } else if (event->type() == QEvent::MouseButtonRelease && !forwarding_) {
            // MouseUp follows the button's own handling of the release (its click).
            auto* mouse = static_cast<QMouseEvent*>(event);
            forwarding_ = true;
            QCoreApplication::sendEvent(button_, event);
            forwarding_ = false;
            Fire(MouseUp, mouse, ButtonOf(mouse->button()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// CommandButton

CommandButton::CommandButton(QWidget* parent, const std::string& caption, int left, int top,
                             int width, int height)
    : QPushButton(ToQ(caption), parent) {
    PlaceTwips(this, left, top, width, height);
    connect(this, &QPushButton::clicked, this, [this] { Fire(Click); });
}

void CommandButton::SetDefault(bool isDefault) {
    setDefault(isDefault);
    setAutoDefault(isDefault);
}

void CommandButton::SetBackColor(Colour colour) {
    SetRole(this, QPalette::Button, colour);
}

// Image

Image::Image(QWidget* parent, int left, int top, int width, int height) : QLabel(parent) {
    PlaceTwips(this, left, top, width, height);
}

void Image::SetPictureResource(const std::string& resource) {
    setPixmap(QPixmap(ToQ(resource)));
}

// Timer

Timer::Timer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Fire(Tick); });
}

void Timer::SetEnabled(bool enabled) {
    if (enabled)
        timer_.start();
    else
        timer_.stop();
}

} // namespace platform
