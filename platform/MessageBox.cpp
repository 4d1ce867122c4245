#include "platform/MessageBox.h"

#include "platform/Forms.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace platform {

void MsgBox(const std::string& prompt) {
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), ToQ(prompt),
                    QMessageBox::Ok);
    box.exec();
}

} // namespace platform
