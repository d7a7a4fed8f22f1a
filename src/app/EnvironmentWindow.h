#pragma once

#include <QWidget>
#include <memory>

class TTabXForm;

// What every window that owns an environment shares, for the label windows
// and the query designer alike.
namespace app {

// A top-level window of the library that owns the environment it was
// launched with. Its caption is the designed caption, a blank and the
// company. Closing it destroys the environment (closing its connections)
// and the window itself.
class EnvironmentWindow : public QWidget {
  Q_OBJECT

 public:
  TTabXForm& ambiente() const { return *ambiente_; }

 protected:
  EnvironmentWindow(QWidget* owner, std::unique_ptr<TTabXForm> ambiente,
                    const QString& designCaption);
  ~EnvironmentWindow() override;

  // Frees the environment now; the window is deleted when control returns
  // to the event loop.
  void releaseEnvironment();

  // Places the window, at its present size, in the middle of the window it
  // belongs to when that one is shown, else in the middle of the screen.
  void centreOverOwner();

 private:
  std::unique_ptr<TTabXForm> ambiente_;
};

// The reprint windows: when launched by the host (the standalone flag set)
// they close like the others; created by another window of the library they
// only hide, leaving the environment to their creator.
class StandaloneCapableWindow : public EnvironmentWindow {
  Q_OBJECT

 public:
  void setStandalone(bool standalone) { standalone_ = standalone; }
  bool isStandalone() const { return standalone_; }

 protected:
  using EnvironmentWindow::EnvironmentWindow;
  void closeEvent(QCloseEvent* event) override;

 private:
  bool standalone_ = false;
};

}  // namespace app
