#pragma once

class QWidget;

namespace orv {

// "About": the program's name, its version and the copyright line, closed with OK.
void ShowAboutBox(QWidget* parent);

}  // namespace orv
