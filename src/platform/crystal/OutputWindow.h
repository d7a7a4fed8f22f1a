#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace platform::crystal {

// Lays out one of the report engine's output windows: a window of its own,
// deleted when closed, titled `title`, with "&Stampa", the save button
// (`saveText`) and "&Chiudi" above `content`, which fills the rest.
void layOutOutputWindow(QWidget& window, const QString& title, QWidget* content,
                        const QString& saveText, const std::function<void()>& print,
                        const std::function<void()>& save);

}  // namespace platform::crystal
