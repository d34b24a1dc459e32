#pragma once

namespace scenario::lsp {

// `scenario lsp`: serves the language server protocol on in_fd and out_fd
// until the client says exit or the input ends. Returns the exit status: 0
// after a shutdown request, 1 without one.
int serve_language(int in_fd, int out_fd);

}  // namespace scenario::lsp
