#pragma once

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

// What the windows of the long jobs (generation, test) share: their buttons, the progress
// display, the task-bar title and going to the background.
namespace velmora {

QPushButton* MakeRunButton(QWidget* window, const char* text, const char* objectName);

// The bar and "Folyamat: p%".
void ShowPercent(QProgressBar* bar, QLabel* label, int percent);

// While a job runs and its window is not the active one, the task-bar text of the job's
// window and of the main window (their icon text) is p + "% - " + job; otherwise it is
// cleared and the task bar shows their captions again. The captions themselves stay.
void ShowJobTitle(QWidget* window, bool running, bool active, int percent, const char* job);

// The whole program goes to the task bar: the main window and the job's window.
void SendToBackground(QWidget* window);

} // namespace velmora
