// Key, Publish for the Web... as a user meets it: the folder asked for, a key published
// into it whole or not at all (a cancelled run, a folder holding other files), an earlier
// publication replaced with the folder's other files kept; and the little server that
// hands the published page to this computer's browser.
#include <QAction>
#include <QProgressDialog>
#include <QtTest>
#include <filesystem>

#include "desktop/LocalWebServer.h"
#include "tests/kit/CharWindowHelpers.h"
#include "tests/kit/GuiFixture.h"

using namespace vorn;
using namespace vorn::testing;
namespace fs = std::filesystem;

namespace {
// Writes a file, making its folders.
void Put(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    WriteFile(path, bytes);
}
}  // namespace

class WebPublishingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiFixture> f;
    std::string out_;

    // A web engine and page of a few bytes, where the program looks for them.
    void WriteWebFolder() {
        std::string web = f->Dir.Path() + "share/web/";
        Put(web + "page/index.html", "<!doctype html><title>VORN</title>");
        Put(web + "page/js/main.js", "import './x.js';");
        Put(web + "engine/vorn-engine.js", "export default 1;");
        Put(web + "engine/vorn-engine.wasm", std::string("\0asm\1\0\0\0", 8));
        CurrentSession().Data.Data = f->Dir.Path() + "share/";
    }
    // What a folder holds, relative, sorted; the publication's list aside.
    static QStringList Files(const std::string& folder) {
        QStringList files;
        if (!fs::exists(folder)) return files;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.is_regular_file())
                files << QString::fromStdString(
                    fs::relative(entry.path(), folder).generic_string());
        files.removeAll(".vorn-published");
        files.sort();
        return files;
    }
    // Folders a run left beside the chosen one.
    QStringList Leftovers() const {
        QStringList names;
        for (const auto& entry : fs::directory_iterator(f->Dir.Path()))
            if (entry.path().filename().string().find(".publishing-") != std::string::npos)
                names << QString::fromStdString(entry.path().filename().string());
        return names;
    }
    void Publish() { f->Main->Publishfortheweb1->trigger(); }

private slots:
    void init() {
        f = std::make_unique<GuiFixture>();
        WriteWebFolder();
        out_ = f->Dir.Path() + "site";
        f->OpenAccepted(f->Write(ShrubKey()));
    }
    void cleanup() { f.reset(); }

    void publishesIntoANewFolderAndReports() {
        QVERIFY(f->Main->Publishfortheweb1->isEnabled());
        fs::create_directory(out_);  // as the dialog makes it
        f->Ui.Files = {out_};
        f->Ui.Answers = {false};  // not opened in the browser
        Publish();
        QCOMPARE(f->Ui.Dialogs.back().Title, std::string("Publish for the Web"));
        QVERIFY(f->Ui.Texts().empty());
        QStringList files = Files(out_);
        QVERIFY(files.contains("index.html"));
        QVERIFY(files.contains("engine/vorn-engine.wasm"));
        QVERIFY(files.contains("key/key.json"));
        QVERIFY(files.contains("key/codes.bin"));
        QCOMPARE(Leftovers(), QStringList());
        // The report names the chosen folder, never the one written beside it.
        QString asked = QString::fromStdString(f->Ui.Questions.back().Text);
        QVERIFY2(asked.contains(QString::fromStdString(out_)), qPrintable(asked));
        QVERIFY(!asked.contains(".publishing-"));
        QVERIFY(asked.endsWith("Open the page in the browser now?"));
    }

    void aCancelledRunLeavesNoHalfFolder() {
        f->Ui.Files = {out_};
        // Cancel as soon as the progress dialog shows.
        QTimer::singleShot(0, [] {
            if (auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()))
                progress->cancel();
        });
        Publish();
        QVERIFY(!fs::exists(out_));
        QCOMPARE(Leftovers(), QStringList());
        QVERIFY(f->Ui.Texts().empty());
        QVERIFY(f->Ui.Questions.empty());
    }

    void aFolderOfOtherFilesIsRefusedAndKept() {
        Put(out_ + "/thesis.txt", "mine");
        f->Ui.Files = {out_};
        Publish();
        QCOMPARE(Files(out_), QStringList({"thesis.txt"}));
        QCOMPARE(f->Ui.Texts().size(), size_t(1));
        QVERIFY(f->Ui.Texts()[0].find("holds other files") != std::string::npos);
        QCOMPARE(Leftovers(), QStringList());
    }

    void anEarlierPublicationIsReplacedAndOtherFilesStay() {
        f->Ui.Files = {out_, out_};
        f->Ui.Answers = {false, true, false};  // not opened; replace; not opened
        Publish();
        QStringList first = Files(out_);
        Put(out_ + "/README.txt", "the server's own");
        Put(out_ + "/key/old-picture.jpg", "listed by no run");
        fs::remove(f->Dir.Path() + "share/web/page/js/main.js");
        Put(f->Dir.Path() + "share/web/page/js/app.js", "export {};");
        Publish();
        QVERIFY(f->Ui.Questions[1].Text.find("Replace it?") != std::string::npos);
        QStringList now = Files(out_);
        QVERIFY(now.contains("README.txt"));
        QVERIFY(now.contains("key/old-picture.jpg"));
        QVERIFY(now.contains("js/app.js"));
        QVERIFY(!now.contains("js/main.js"));  // the earlier run's file goes
        QCOMPARE(now.size(), first.size() + 2);
        QCOMPARE(Leftovers(), QStringList());
    }

    void withoutTheEngineNothingIsAsked() {
        fs::remove(f->Dir.Path() + "share/web/engine/vorn-engine.wasm");
        Publish();
        QVERIFY(f->Ui.Dialogs.empty());
        QCOMPARE(f->Ui.Texts().size(), size_t(1));
        QVERIFY(f->Ui.Texts()[0].find("without its web engine") != std::string::npos);
    }

    void theServerHandsOutTheFolderOnly() {
        QString root = QString::fromStdString(f->Dir.Path() + "served");
        Put(root.toStdString() + "/index.html", "<p>page</p>");
        Put(root.toStdString() + "/engine/e.wasm", std::string("\0asm", 4));
        Put(f->Dir.Path() + "secret.txt", "not served");
        fs::create_symlink(f->Dir.Path() + "secret.txt", root.toStdString() + "/link.txt");
        auto get = [&](const char* target, const char* method = "GET") {
            return LocalWebServer::Answer(
                root, QByteArray(method) + " " + target + " HTTP/1.1\r\nHost: x\r\n\r\n");
        };
        QByteArray page = get("/");
        QVERIFY(page.startsWith("HTTP/1.1 200 OK\r\n"));
        QVERIFY(page.contains("Content-Type: text/html; charset=utf-8\r\n"));
        QVERIFY(page.endsWith("\r\n\r\n<p>page</p>"));
        QVERIFY(get("/engine/e.wasm?v=2").contains("Content-Type: application/wasm\r\n"));
        QVERIFY(get("/index.html", "HEAD")
                    .endsWith("Content-Length: 11\r\n"
                              "Cache-Control: no-cache\r\n"
                              "X-Content-Type-Options: nosniff\r\n"
                              "Connection: close\r\n\r\n"));
        for (const char* outside : {"/../secret.txt", "/%2e%2e/secret.txt", "/link.txt",
                                    "/engine/../../secret.txt", "/missing.js", "//etc/passwd"})
            QVERIFY2(get(outside).startsWith("HTTP/1.1 404 "), outside);
        QVERIFY(get("/", "POST").startsWith("HTTP/1.1 405 "));
        QVERIFY(LocalWebServer::Answer(root, "GET\r\n\r\n").startsWith("HTTP/1.1 400 "));
    }
};

VORN_QTEST_MAIN(WebPublishingTest)
#include "WebPublishingTest.moc"
