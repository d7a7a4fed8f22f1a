#include "support/PrivateCups.h"

#include <cups/cups.h>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <cstring>

namespace {

constexpr int kStartTimeoutMs = 15000;

bool writeFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Whether something accepts connections on the Unix socket.
bool socketAnswers(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (static_cast<size_t>(name.size()) >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const bool connected =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

void saveVariable(const char* name, QByteArray& value, bool& had) {
  had = qEnvironmentVariableIsSet(name);
  value = qgetenv(name);
}

void restoreVariable(const char* name, const QByteArray& value, bool had) {
  if (had)
    qputenv(name, value);
  else
    qunsetenv(name);
}

QString findClientProgram(const QString& program) {
  QString path = QStandardPaths::findExecutable(program);
  if (path.isEmpty())
    path = QStandardPaths::findExecutable(
        program, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
  return path;
}

}  // namespace

QString cupsdProgram() {
  QString program = QStandardPaths::findExecutable(QStringLiteral("cupsd"));
  if (program.isEmpty())
    program =
        QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")});
  if (program.isEmpty() && !qEnvironmentVariable("CI").isEmpty())
    ADD_FAILURE() << "CI run without cupsd: the CUPS packages were not installed";
  return program;
}

PrivateCups::PrivateCups() {
  saveVariable("CUPS_SERVER", savedServer_, hadServer_);
  saveVariable("LPDEST", savedLpdest_, hadLpdest_);
  saveVariable("PRINTER", savedPrinter_, hadPrinter_);
  running_ = start();
  if (!running_ && cupsd_.state() != QProcess::NotRunning) {
    cupsd_.kill();
    cupsd_.waitForFinished(5000);
  }
}

PrivateCups::~PrivateCups() {
  if (cupsd_.state() != QProcess::NotRunning) {
    cupsd_.terminate();
    if (!cupsd_.waitForFinished(10000)) {
      cupsd_.kill();
      cupsd_.waitForFinished(5000);
    }
  }
  restoreVariable("CUPS_SERVER", savedServer_, hadServer_);
  restoreVariable("LPDEST", savedLpdest_, hadLpdest_);
  restoreVariable("PRINTER", savedPrinter_, hadPrinter_);
  cupsSetServer(hadServer_ ? savedServer_.constData() : nullptr);
}

QString PrivateCups::socketPath() const {
  return dir_.filePath(QStringLiteral("cups.sock"));
}

void PrivateCups::writeConfiguration() {
  const QString root = dir_.path();
  QDir(root).mkpath(QStringLiteral("conf/ppd"));
  QDir(root).mkpath(QStringLiteral("log"));
  QDir(root).mkpath(QStringLiteral("spool/tmp"));
  QDir(root).mkpath(QStringLiteral("cache"));
  QDir(root).mkpath(QStringLiteral("state"));

  // Run as root, cupsd works as "lp" and its backends run as "lp": they
  // must be able to reach the folders.
  QByteArray userName = "lp", groupName = "lp", systemGroup = "root";
  if (::geteuid() != 0) {
    const passwd* pw = ::getpwuid(::geteuid());
    const group* gr = ::getgrgid(::getegid());
    userName = pw ? QByteArray(pw->pw_name) : QByteArray::number(::geteuid());
    groupName = gr ? QByteArray(gr->gr_name) : QByteArray::number(::getegid());
    systemGroup = groupName;
  }
  const QFileDevice::Permissions open = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                        QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                        QFileDevice::ExeOther;
  for (const QString& sub : {QString(), QStringLiteral("conf"), QStringLiteral("log")})
    QFile::setPermissions(sub.isEmpty() ? root : root + '/' + sub, open);

  const QByteArray base = QFile::encodeName(root);
  QByteArray files;
  if (::geteuid() == 0) files += "User " + userName + "\nGroup " + groupName + "\n";
  files += "SystemGroup " + systemGroup + "\n";
  files += "ServerRoot " + base + "/conf\n";
  files += "RequestRoot " + base + "/spool\n";
  files += "TempDir " + base + "/spool/tmp\n";
  files += "CacheDir " + base + "/cache\n";
  files += "StateDir " + base + "/state\n";
  files += "AccessLog " + base + "/log/access_log\n";
  files += "ErrorLog " + base + "/log/error_log\n";
  files += "PageLog " + base + "/log/page_log\n";
  writeFile(root + QStringLiteral("/conf/cups-files.conf"), files);

  // Every operation is open to every local user: the socket is the only way
  // in, and only this test knows it.
  QByteArray daemon;
  daemon += "LogLevel warn\n";
  daemon += "Listen " + QFile::encodeName(socketPath()) + "\n";
  daemon += "Browsing Off\n";
  daemon += "DefaultAuthType None\n";
  daemon += "WebInterface No\n";
  daemon += "MaxJobs 0\n";
  daemon +=
      "<Policy default>\n"
      "  JobPrivateAccess default\n  JobPrivateValues default\n"
      "  SubscriptionPrivateAccess default\n  SubscriptionPrivateValues default\n"
      "  <Limit All>\n    Order deny,allow\n  </Limit>\n"
      "</Policy>\n";
  writeFile(root + QStringLiteral("/conf/cupsd.conf"), daemon);
}

bool PrivateCups::start() {
  const QString program = cupsdProgram();
  if (program.isEmpty()) {
    error_ = QStringLiteral("cupsd is not installed");
    return false;
  }
  if (!dir_.isValid()) {
    error_ = QStringLiteral("no temporary folder: ") + dir_.errorString();
    return false;
  }
  writeConfiguration();
  cupsd_.setProcessChannelMode(QProcess::MergedChannels);
  // A test that dies does not leave its scheduler running.
  cupsd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
  cupsd_.start(program, {QStringLiteral("-f"), QStringLiteral("-c"),
                         dir_.filePath(QStringLiteral("conf/cupsd.conf")), QStringLiteral("-s"),
                         dir_.filePath(QStringLiteral("conf/cups-files.conf"))});
  if (!cupsd_.waitForStarted(kStartTimeoutMs)) {
    error_ = QStringLiteral("cupsd did not start: ") + cupsd_.errorString();
    return false;
  }
  if (!waitUntilReady()) return false;

  const QByteArray socket = QFile::encodeName(socketPath());
  qputenv("CUPS_SERVER", socket);
  qunsetenv("LPDEST");
  qunsetenv("PRINTER");
  cupsSetServer(socket.constData());
  return true;
}

bool PrivateCups::waitUntilReady() {
  const QDeadlineTimer deadline(kStartTimeoutMs);
  while (!deadline.hasExpired()) {
    if (cupsd_.state() == QProcess::NotRunning) {
      error_ = QStringLiteral("cupsd stopped at once: ") +
               QString::fromLocal8Bit(cupsd_.readAll()) + log();
      return false;
    }
    if (socketAnswers(socketPath())) return true;
    QThread::msleep(20);
  }
  error_ =
      QStringLiteral("cupsd did not answer on its socket within %1 ms: ").arg(kStartTimeoutMs) +
      log();
  return false;
}

bool PrivateCups::run(const QString& program, const QStringList& arguments, const QByteArray& input,
                      int timeoutMs) {
  const QString path = findClientProgram(program);
  if (path.isEmpty()) {
    error_ = program + QStringLiteral(" is not installed (Debian package cups-client)");
    return false;
  }
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(path, arguments);
  if (!input.isEmpty()) process.write(input);
  process.closeWriteChannel();
  const bool finished = process.waitForFinished(timeoutMs);
  const QString output = QString::fromLocal8Bit(process.readAll());
  if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
    return true;
  if (!finished) {
    process.kill();
    process.waitForFinished(5000);
  }
  error_ = program + ' ' + arguments.join(' ') + QStringLiteral(" failed: ") + output;
  return false;
}

bool PrivateCups::addQueue(const QString& name, const QString& deviceUri, const QString& ppdFile) {
  QStringList arguments{QStringLiteral("-p"), name, QStringLiteral("-v"), deviceUri};
  if (!ppdFile.isEmpty()) arguments << QStringLiteral("-P") << ppdFile;
  arguments << QStringLiteral("-E");
  return run(QStringLiteral("lpadmin"), arguments);
}

bool PrivateCups::addRawQueue(const QString& name, quint16 port) {
  return addQueue(name, QStringLiteral("socket://127.0.0.1:%1").arg(port));
}

bool PrivateCups::setDefault(const QString& name) {
  return run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name});
}

bool PrivateCups::rejectJobs(const QString& name) {
  return run(QStringLiteral("cupsreject"), {name});
}

QString PrivateCups::log() const {
  QFile file(dir_.filePath(QStringLiteral("log/error_log")));
  return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}
