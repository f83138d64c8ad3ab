// The settings window on Qt: the form's rows laid out as widgets, group by
// group, with the preview below and OK, Cancel and Apply. It only translates:
// what each row means, what a drop would do and what is written are the
// form's (app/common/settings_form.h).
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "app/common/settings_form.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // What the window asks of the box: show an opacity while the slider moves
  // (and the settings' own once the window closes unsaved), and apply the
  // settings once they were saved and loaded again, as Reload Settings does.
  struct BoxCalls {
    std::function<void(int16_t t)> show_opacity;
    std::function<void()> settings_applied;
  };
  SettingsDialog(QWidget* parent, BoxCalls calls);

  // Brings the open window to the front.
  void ComeToFront();

 protected:
  void done(int result) override;

 private:
  // The widgets of one row (those its kind has).
  struct RowWidgets {
    QComboBox* choice = nullptr;
    QCheckBox* check = nullptr;
    QLineEdit* folder = nullptr;
    QPushButton* browse = nullptr;
    QSlider* slider = nullptr;
    QLabel* value = nullptr;
  };
  QWidget* MakeRow(size_t row, QLabel*& label);
  void Browse(size_t row);
  // Every widget from the form; then the preview and the problem.
  void ShowForm();
  void ShowPreview();
  // Saves the choices; true when everything chosen was done.
  bool Save();

  BoxCalls calls_;
  SettingsForm form_;
  std::vector<RowWidgets> rows_;
  QLabel* preview_ = nullptr;
  QLabel* problem_ = nullptr;
  QPushButton* apply_ = nullptr;
  bool showing_ = false;  // the widgets are being set from the form
};
