#pragma once

namespace tavolen::app {

// `tavolen capture`: one interactive capture run started at once, each panel
// state printed as a JSON line on stdout. Returns the process exit code: 0
// when the run ends with a result, 1 with an error (or no permission), 3 when
// the selection is cancelled. Needs the QApplication.
int runCaptureCommand();

} // namespace tavolen::app
