#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace qlc {

// One running copy per user and data folder. The first start takes a name made from the user
// and the folder (nothing else, so that a start from a terminal and one from the menu find
// each other) and listens under it; a later start finds the name taken and asks the running
// copy to bring its window back. The name goes with the process that holds it, however it
// ends. Linux: an abstract unix socket; Windows: a named mutex and a local socket.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  enum class Start {
    First,       // this process runs the program; RestoreRequested reports later starts
    HandedOver,  // the running copy has brought its window back; this one should end
    NoAnswer,    // a running copy holds the folder but did not answer
    Unguarded,   // the name could not be taken, or another user holds it: run without it
  };

  explicit SingleInstance(const QString &dataFolder, QObject *parent = nullptr);
  ~SingleInstance() override;

  // Takes the folder or hands over to the copy that has it, waiting up to timeoutMs for a
  // copy that is still starting or ending. The first copy answers once its event loop runs.
  [[nodiscard]] Start Claim(int timeoutMs = 5000);

  // A later start's one request, and the running copy's answer once its window is back.
  static constexpr char kRestore[] = "restore\n", kDone[] = "ok\n";

 signals:
  void RestoreRequested();

 private:
  enum class Took { Taken, Held, Failed };
  enum class Answer {
    Done,     // the running copy has brought its window back
    NoOne,    // nobody listens (yet, or any more): worth another try
    Silent,   // a copy listens but did not answer in time
    Foreign,  // the name is held by another user's process
  };
  static QString NameFor(const QString &dataFolder);
  // Each system's own, in single_instance_win.cpp and single_instance_other.cpp.
  Took Take();
  Answer HandOver(int timeoutMs);

  struct Listener;
  QString name_;  // from the user and the canonical folder
  std::unique_ptr<Listener> listener_;
};

}  // namespace qlc
