#include "view/live_page.h"

#include <poll.h>

#include <array>
#include <cerrno>
#include <system_error>

namespace scenario::view {
namespace {

// An editor's save is often a few events in a row (a new file, a rename):
// the page is made once they have settled for this long.
constexpr int kSettleMs = 80;

bool readable(int fd, int wait_ms) {
  pollfd one{fd, POLLIN, 0};
  return poll(&one, 1, wait_ms) > 0;
}

}  // namespace

void serve_live(PageServer& server, SourceWatch& watch, const PageMaker& make_page) {
  uint64_t version = 1;
  std::string page = make_page(version);
  for (;;) {
    std::array<pollfd, 2> waiting{{{server.descriptor(), POLLIN, 0}, {watch.descriptor(), POLLIN, 0}}};
    if (poll(waiting.data(), waiting.size(), -1) < 0) {
      if (errno == EINTR) continue;
      throw std::system_error(errno, std::generic_category(), "cannot wait for the sources");
    }
    if ((waiting[1].revents & POLLIN) != 0) {
      bool saved = watch.saved();
      while (readable(watch.descriptor(), kSettleMs)) saved = watch.saved() || saved;
      if (saved) page = make_page(++version);
    }
    if ((waiting[0].revents & POLLIN) != 0) server.answer(page, version);
  }
}

}  // namespace scenario::view
