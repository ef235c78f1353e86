#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <fstream>
#include <string>

#include "known/known_store.h"
#include "support/temp_folder.h"

// "vantor --import" run as an operator runs it from a terminal, with no display.
class ImportCommandTest : public QObject {
  Q_OBJECT

 private:
  struct Run {
    int status;
    QString output;
    QString errors;
  };

  static Run vantor(const vantor::testing::TempFolder& home, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"),
                       QString::fromStdString((home.path() / "data").string()));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VANTOR_PROGRAM), arguments);
    if (!process.waitForFinished(30000)) {
      process.kill();
      process.waitForFinished();
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
  }

 private slots:
  void importsFilesAndFoldersIntoTheUsersStore() {
    const vantor::testing::TempFolder home;
    const auto past = home.path() / "contest";
    std::filesystem::create_directories(past);
    std::filesystem::copy_file(std::filesystem::path(VANTOR_TEST_DATA_DIR) / "01_QQ9XYZ.edi",
                               past / "01_QQ9XYZ.edi");
    const auto list = home.path() / "calls.txt";
    std::ofstream(list) << "QQ5AAA JN45OL 20250601 144\nQQ5AAB JN5\n";
    const Run run = vantor(home, {QStringLiteral("--import"), QString::fromStdString(past.string()),
                                  QString::fromStdString(list.string())});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.output,
             QStringLiteral("01_QQ9XYZ.edi: 1 stazione, nessuna riga scartata\n"
                            "calls.txt: 1 stazione, 1 riga scartata (riga 2: locatore non valido: "
                            "JN5)\n"
                            "Stazioni conosciute nell'archivio: 2\n"));
    const auto store = vantor::KnownStore::open(home.path() / "data" / "Vantor" / "stazioni.sqlite",
                                                vantor::KnownStore::Access::Read)
                           .store;
    QVERIFY(store);
    QCOMPARE(store->callsHolding("QQ", 5), (std::vector<std::string>{"QQ1ABC", "QQ5AAA"}));
  }

  // An import killed halfway leaves the store as its last part left it: whole, and holding every
  // part it wrote.
  void anImportKilledHalfwayLosesNothingWritten() {
    const vantor::testing::TempFolder home;
    const auto list = home.path() / "calls.txt";
    {
      std::ofstream file(list);
      for (int n = 0; n < 200000; ++n) {
        file << "QQ" << n % 10 << static_cast<char>('A' + n / 10 % 26)
             << static_cast<char>('A' + n / 260 % 26) << static_cast<char>('A' + n / 6760 % 26)
             << " JN45OL 20250601\n";
      }
    }
    const auto store = home.path() / "data" / "Vantor" / "stazioni.sqlite";
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"),
                       QString::fromStdString((home.path() / "data").string()));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VANTOR_PROGRAM),
                  {QStringLiteral("--import"), QString::fromStdString(list.string())});
    const auto written = [&store] {
      const auto reader = vantor::KnownStore::open(store, vantor::KnownStore::Access::Read).store;
      return reader ? reader->callCount() : 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(written() >= 5000, 20000);
    process.kill();
    process.waitForFinished();
    const auto opening = vantor::KnownStore::open(store, vantor::KnownStore::Access::Write);
    QVERIFY2(opening.store, opening.problem.c_str());
    QCOMPARE(opening.store->callCount() % 5000, std::size_t{0});
    QVERIFY(opening.store->callCount() >= 5000);
  }

  void refusesAnImportWithoutFiles() {
    const vantor::testing::TempFolder home;
    const Run run = vantor(home, {QStringLiteral("--import")});
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.startsWith(QStringLiteral("vantor: Mancano i file dopo --import\n")),
             qPrintable(run.errors));
  }
};

QTEST_GUILESS_MAIN(ImportCommandTest)
#include "import_command_test.moc"
