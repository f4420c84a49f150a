#pragma once

#include <QString>
#include <string>

namespace vorn {

class Session;
class LocalWebServer;

// Key, Publish for the Web...: asks for a folder, publishes the open key into a folder
// beside it with a progress dialog that can be cancelled, and only then puts it in place
// (a folder that was empty, or the key published there before, whose other files stay);
// shows the report and offers to open the page, served by `server` to this computer's
// browser. Nothing is written when the user cancels.
void PublishForTheWeb(Session& session, LocalWebServer& server);

// The folder beside `target` that a publication is written into before it is put in
// place: hidden, named after the target, made new (mkdtemp). Empty when none can be made.
std::string MakeStagingFolder(const std::string& target);

}  // namespace vorn
