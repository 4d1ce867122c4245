#include "platform/Forms.h"

#include "platform/Errors.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace platform {

QColor ToQColor(Colour colour) {
    if (colour & 0x80000000) {
        // System colours by index, as a classic light desktop theme shows them.
        switch (colour & 0xFF) {
        case 5:  // window background
        case 14: // highlighted text
        case 20: // 3-D highlight
            return QColor(Qt::white);
        case 13: // highlight
            return QColor(0x00, 0x78, 0xD7);
        case 16: // button shadow
            return QColor(0xA0, 0xA0, 0xA0);
        case 17: // grey text
            return QColor(0x6D, 0x6D, 0x6D);
        case 7:  // menu text
        case 8:  // window text
        case 9:  // caption text
        case 18: // button text
        case 23: // tooltip text
            return QColor(Qt::black);
        default: // button face and the rest of the window furniture
            return QColor(0xF0, 0xF0, 0xF0);
        }
    }
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// Our texts are one byte a character.
QString ToQ(const std::string& text) {
    return QString::fromLatin1(text);
}
std::string FromQ(const QString& text) {
    return text.toLatin1().toStdString();
}

void ApplyFont(QWidget* widget, const FontSpec& design) {
    QFont font(ToQ(design.name));
    font.setPixelSize(static_cast<int>(design.points * 96.0 / 72.0 + 0.5));
    font.setBold(design.bold);
    font.setItalic(design.italic);
    widget->setFont(font);
}

namespace {

Qt::WindowFlags FlagsFor(const WindowStyle& style) {
    Qt::WindowFlags flags = style.showInTaskbar ? Qt::Window : Qt::Tool;
    const bool titled = !style.caption.empty() || style.controlBox;
    switch (style.border) {
    case BorderStyle::None:
        return flags | Qt::FramelessWindowHint;
    case BorderStyle::FixedDialog:
    case BorderStyle::FixedSingle:
    case BorderStyle::FixedToolWindow:
        if (!titled)
            return flags | Qt::FramelessWindowHint;
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (style.controlBox)
            flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
        return flags;
    case BorderStyle::Sizable:
        break;
    }
    return flags | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
           Qt::WindowCloseButtonHint;
}

} // namespace

Form::Form(const WindowStyle& style) : QWidget(nullptr, FlagsFor(style)), style_(style) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(ToQ(style.caption));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(style.backColor));
    setPalette(pal);
    setAutoFillBackground(true);
    const QSize client(TwipsToPixels(style.clientWidthTwips),
                       TwipsToPixels(style.clientHeightTwips));
    if (style.border == BorderStyle::Sizable)
        resize(client);
    else
        setFixedSize(client);
}

Form::~Form() = default;

void Form::RunLoad(std::function<void()> onUnloaded) {
    onUnloaded_ = std::move(onUnloaded);
    Form_Load();
}

void Form::ApplyStartPosition() {
    if (placed_)
        return;
    placed_ = true;
    if (style_.startPosition != StartPosition::CenterScreen)
        return;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.center() - QPoint(width() / 2, height() / 2));
}

void Form::Show(int modal) {
    if (unloaded_)
        Raise(ErrObjectRequired, "Object was unloaded");
    ApplyStartPosition();
    if (modal != 1) {
        show();
        raise();
        activateWindow();
        ScreenMayHaveChanged();
        return;
    }
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
}

void Form::Hide() {
    hide();
    ScreenMayHaveChanged();
}

void Form::Unload() {
    if (unloaded_)
        return;
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel)
        return;
    unloaded_ = true;
    hide();
    ScreenMayHaveChanged();
    if (onUnloaded_)
        onUnloaded_();
    deleteLater();
}

std::string Form::Caption() const {
    return FromQ(windowTitle());
}
void Form::SetCaption(const std::string& caption) {
    setWindowTitle(ToQ(caption));
}

int Form::Left() const {
    return pos().x() * kTwipsPerPixel;
}
int Form::Top() const {
    return pos().y() * kTwipsPerPixel;
}
int Form::Width() const {
    return width() * kTwipsPerPixel;
}
int Form::Height() const {
    return height() * kTwipsPerPixel;
}

void Form::SetLeft(int twips) {
    placed_ = true;
    move(TwipsToPixels(twips), pos().y());
    ScreenMayHaveChanged();
}
void Form::SetTop(int twips) {
    placed_ = true;
    move(pos().x(), TwipsToPixels(twips));
    ScreenMayHaveChanged();
}
void Form::SetWidth(int twips) {
    setFixedWidth(TwipsToPixels(twips));
    ScreenMayHaveChanged();
}
void Form::SetHeight(int twips) {
    setFixedHeight(TwipsToPixels(twips));
    ScreenMayHaveChanged();
}

double Form::ScaleWidth() const {
    return FromPixels(width());
}
double Form::ScaleHeight() const {
    return FromPixels(height());
}

int Form::ToPixels(double units) const {
    return scaleMode_ == vbPixels ? static_cast<int>(units) : TwipsToPixels(units);
}
double Form::FromPixels(int pixels) const {
    return scaleMode_ == vbPixels ? pixels : static_cast<double>(pixels) * kTwipsPerPixel;
}

void Form::LineBox(double x1, double y1, double x2, double y2, Colour colour) {
    boxes_.push_back(Line{ToPixels(x1), ToPixels(y1), ToPixels(x2), ToPixels(y2), colour, 1});
    update();
}

void Form::AddLine(int x1, int y1, int x2, int y2, Colour colour, int widthPixels) {
    lines_.push_back(Line{TwipsToPixels(x1), TwipsToPixels(y1), TwipsToPixels(x2),
                          TwipsToPixels(y2), colour, widthPixels});
    update();
}

void Form::SetIcon(const std::string& resource32, const std::string& resource16) {
    QIcon icon;
    icon.addFile(ToQ(resource32), QSize(32, 32));
    icon.addFile(ToQ(resource16), QSize(16, 16));
    setWindowIcon(icon);
}

WindowHandle Form::hwnd() {
    return static_cast<WindowHandle>(winId());
}

void Form::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (lines_.empty() && boxes_.empty())
        return;
    QPainter painter(this);
    for (const Line& line : lines_) {
        painter.setPen(QPen(ToQColor(line.colour), line.width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(line.x1, line.y1, line.x2, line.y2);
    }
    for (const Line& box : boxes_) {
        painter.setPen(QPen(ToQColor(box.colour), 1));
        painter.setBrush(Qt::NoBrush);
        // Both corners are pixels of the outline; a drawn QRect would reach one past them.
        painter.drawRect(QRect(QPoint(box.x1, box.y1), QPoint(box.x2, box.y2))
                             .normalized()
                             .adjusted(0, 0, -1, -1));
    }
    ScreenMayHaveChanged();
}

void Form::closeEvent(QCloseEvent* event) {
    event->ignore();
    RunHandler([this] { Unload(); });
}

void Form::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() != 1) {
        QWidget::keyPressEvent(event);
        return;
    }
    int keyAscii = text.at(0).unicode();
    RunHandler([this, &keyAscii] { Form_KeyPress(keyAscii); });
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RunHandler([this] { Form_Resize(); });
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ScreenMayHaveChanged();
}

void Form::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (modalLoop_)
        modalLoop_->quit();
}

} // namespace platform
