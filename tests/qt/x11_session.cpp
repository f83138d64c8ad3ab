#include "tests/qt/x11_session.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>
#include <ostream>

#include "settings/ini_file.h"

namespace x11_tests {

Result Run(const QString& program, const QStringList& args, int timeout_ms) {
  QProcess process;
  process.setProcessChannelMode(QProcess::SeparateChannels);
  process.start(program, args);
  Result result;
  if (!process.waitForStarted(timeout_ms)) return result;
  if (!process.waitForFinished(timeout_ms)) {
    process.kill();
    process.waitForFinished(2000);
    return result;
  }
  result.out = process.readAllStandardOutput().toStdString();
  result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return result;
}

std::string Xdotool(const QStringList& args) {
  const Result result = Run("xdotool", args);
  EXPECT_EQ(result.code, 0) << "xdotool " << args.join(' ').toStdString();
  return result.out;
}

std::string ClipboardText() {
  const Result result = Run("xclip", {"-o", "-selection", "clipboard"}, 5000);
  return result.code == 0 ? result.out : std::string();
}

bool WaitFor(const std::function<bool()>& condition, int timeout_ms) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > timeout_ms) return false;
    QThread::msleep(50);
  }
  return true;
}

std::ostream& operator<<(std::ostream& out, const Geometry& g) {
  return out << g.width << "x" << g.height << "+" << g.x << "+" << g.y;
}

std::optional<Geometry> WindowGeometry(const QString& window) {
  // Lines such as "X=244" from --shell.
  const Result result = Run("xdotool", {"getwindowgeometry", "--shell", window});
  if (result.code != 0) return std::nullopt;
  Geometry g;
  for (const QString& line : QString::fromStdString(result.out).split('\n')) {
    const QString value = line.section('=', 1);
    if (line.startsWith("X=")) g.x = value.toInt();
    if (line.startsWith("Y=")) g.y = value.toInt();
    if (line.startsWith("WIDTH=")) g.width = value.toInt();
    if (line.startsWith("HEIGHT=")) g.height = value.toInt();
  }
  return g;
}

QStringList VisibleWindowsOf(qint64 pid, const QString& name) {
  QStringList args = {"search", "--all", "--onlyvisible", "--pid", QString::number(pid)};
  if (!name.isEmpty()) args << "--name" << name;
  const Result result = Run("xdotool", args);
  if (result.code != 0) return {};
  return QString::fromStdString(result.out).split('\n', Qt::SkipEmptyParts);
}

void DragPointer(int from_x, int from_y, int to_x, int to_y) {
  QStringList args = {"mousemove", QString::number(from_x), QString::number(from_y),
                      "sleep", "0.2", "mousedown", "1", "sleep", "0.3"};
  constexpr int kSteps = 16;
  for (int i = 1; i <= kSteps; ++i) {
    args << "mousemove" << QString::number(from_x + (to_x - from_x) * i / kSteps)
         << QString::number(from_y + (to_y - from_y) * i / kSteps) << "sleep" << "0.05";
  }
  args << "sleep" << "0.3" << "mouseup" << "1";
  Xdotool(args);
}

namespace {

QProcessEnvironment ProgramEnvironment(const testing_support::TempFolder& folder) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", QString::fromStdString(folder / "home"));
  env.insert("XDG_CONFIG_HOME", QString::fromStdString(folder / "config"));
  env.insert("XDG_DATA_HOME", QString::fromStdString(folder / "data"));
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder / "runtime"));
  env.insert("QT_QPA_PLATFORM", "xcb");
  return env;
}

}  // namespace

ProgramRun::ProgramRun(const std::string& settings, const QStringList& args) {
  testing_support::MakeFolder(folder_ / "runtime");
  QFile::setPermissions(QString::fromStdString(folder_ / "runtime"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QString program = QString::fromStdString(folder_ / "quorlith");
  if (!QFile::copy(QUORLITH_PROGRAM, program)) {
    ADD_FAILURE() << "cannot copy " << QUORLITH_PROGRAM;
    return;
  }
  if (!settings.empty()) testing_support::WriteFile(folder_ / "Quorlith.ini", settings);
  process_.setProcessEnvironment(ProgramEnvironment(folder_));
  process_.setWorkingDirectory(QString::fromStdString(folder_.path()));
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(program, args);
  if (!process_.waitForStarted(10000)) {
    ADD_FAILURE() << "the program did not start";
    return;
  }
  WaitFor([this] {
    const QStringList found = VisibleWindowsOf(pid(), "^Quorlithdropbox$");
    if (found.size() == 1) box_ = found.front();
    return !box_.isEmpty();
  });
  EXPECT_FALSE(box_.isEmpty()) << "the box did not come up";
}

ProgramRun::~ProgramRun() {
  if (Running()) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

Geometry ProgramRun::BoxGeometry() const { return WindowGeometry(box_).value_or(Geometry{}); }

int ProgramRun::WaitForEnd(int timeout_ms) {
  if (Running() && !process_.waitForFinished(timeout_ms)) return -1;
  return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

std::string ProgramRun::SettingsBytes() const {
  return testing_support::ReadFile(folder_ / "Quorlith.ini");
}

int ProgramRun::FileNumber(const char* key) const {
  return ReadIniNumber((folder_ / "Quorlith.ini").c_str(), "Coordinates", key, -999);
}

DragSource::DragSource(int x, int y, const QStringList& items) {
  process_.setProcessChannelMode(QProcess::SeparateChannels);
  process_.start(QUORLITH_DRAG_SOURCE, QStringList{QString::number(x), QString::number(y)} + items);
  if (!process_.waitForStarted(10000)) return;
  WaitFor([this] {
    const QStringList found = VisibleWindowsOf(process_.processId(), "^quorlith drag source$");
    if (found.size() == 1) window_ = found.front();
    return !window_.isEmpty();
  });
}

DragSource::~DragSource() {
  if (process_.state() != QProcess::NotRunning) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

std::string DragSource::Accepted() {
  if (!process_.canReadLine() && !process_.waitForReadyRead(10000)) return "(no answer)";
  return process_.readLine().trimmed().toStdString();
}

}  // namespace x11_tests
