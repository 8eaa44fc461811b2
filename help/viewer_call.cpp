#include "help/viewer_call.h"

#include "platform/help_viewer.h"

namespace tremira::help {

namespace {

ViewerCall &current() {
    static ViewerCall call = [](QWidget *owner, const QString &fileName, quint32 command, qint32 data) {
        platform::HtmlHelp(owner, fileName, command, data);
    };
    return call;
}

}  // namespace

const ViewerCall &viewer() { return current(); }

ViewerCall replaceViewer(ViewerCall replacement) { return std::exchange(current(), std::move(replacement)); }

}  // namespace tremira::help
