#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

namespace qlc {

// One running copy per user and data folder. The first start takes a lock file and listens
// on a local socket, both named from the user and the folder; a later start finds the lock
// held and asks the running copy, over the socket, to bring its window back. A lock left by
// a copy that died is taken over.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  enum class Start {
    First,       // this process runs the program; RestoreRequested reports later starts
    HandedOver,  // the running copy has brought its window back; this one should end
    NoAnswer,    // a running copy holds the folder but did not answer
    Unguarded,   // no lock could be made (no writable folder for it): run without one
  };

  explicit SingleInstance(const QString &dataFolder, QObject *parent = nullptr);
  ~SingleInstance() override;

  // Takes the folder or hands over to the copy that has it, waiting up to timeoutMs for a
  // copy that is still starting or ending. Needs the application object; the first copy
  // listens once the event loop runs.
  Start Claim(int timeoutMs = 5000);

 signals:
  void RestoreRequested();

 private:
  bool HandOver(int timeoutMs);
  void Listen();

  QString name_;  // the socket's name; the lock file is this name with ".lock"
  QLockFile lock_;
  QLocalServer *server_ = nullptr;
};

}  // namespace qlc
