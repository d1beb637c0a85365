#pragma once
// Watches a folder for changes with inotify on a thread of its own and runs
// its call-back on the GUI thread. Changes that come while a call-back is
// still waiting to run are folded into it.
//
// The worker sleeps in poll on the inotify descriptor and a wake-up event;
// new options and the destructor wake it at once. The destructor joins the
// worker, and a call-back already posted to the GUI thread finds its watch
// gone and does nothing, so no call-back runs once the watch is destroyed.
// Every member function is for the GUI thread (the one that posted tasks
// run on).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/base/GuiPost.h"

namespace tarvel {

// Kinds of change, any combination.
enum TShellChangeFilter : uint32_t {
    scfFileName = 1,    // files created, deleted, renamed
    scfDirName = 2,     // folders created, deleted, renamed
    scfAttributes = 4,  // mode, owner, times
    scfSize = 8,        // contents written
    scfLastWrite = 16,  // a file written and closed
    scfSecurity = 256,  // mode and owner
};

class TShellChangeWatch {
public:
    TShellChangeWatch(PostToGui post, std::function<void()> onChange);
    ~TShellChangeWatch();
    TShellChangeWatch(const TShellChangeWatch&) = delete;
    TShellChangeWatch& operator=(const TShellChangeWatch&) = delete;

    // Watches `folder` (and its sub-folders with `subTree`) for `filters`
    // from now on. A folder that cannot be watched (not there, not
    // readable) is watched for nothing, quietly, until new options come.
    void SetOptions(const std::string& folder, bool subTree, uint32_t filters);
    void SetOnChange(std::function<void()> onChange);
    // Whether the folder given last is being watched (the worker has taken it
    // up). For tests and diagnostics.
    bool Watching() const;

private:
    struct TState;
    void Run();
    std::shared_ptr<TState> state_;
};

}  // namespace tarvel
