#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "model/error_codes.h"
#include "model/route_model.h"
#include "model/run_files.h"
#include "reader/memorizza_dati.h"

namespace scenario {

// The two values of memorizza_percorso's j: with the plan trace and the line
// geometry file (the package's run), or without either.
inline constexpr int32_t kWithoutTrace = 0;
inline constexpr int32_t kWithTrace = 1;

// A fatal number that ends the compilation; the front end shows it. No binary
// file of the compilation has been written when it is thrown.
class FatalError : public std::runtime_error {
 public:
  FatalError(int32_t code, const std::string& what, ErrorSite at = {})
      : std::runtime_error(what), number(code), site(std::move(at)) {}
  int32_t number;
  ErrorSite site;  // the record that put in place what is in the way, when one did
};

struct CompileOptions {
  SourcePolicy sources = SourcePolicy::kDelete;
  // A reader error normally stops the compilation before any binary file is
  // written. Set, the files of the half-read model are written all the same
  // and the caller still reports the reader's error.
  bool write_despite_reader_error = false;
};

// Compiles the scenario from its two source files.
// It reads both sources strictly (memorizza_dati), then seal_and_write. The model comes in with its names and leaves as the binary
// files hold it; j non-zero asks for the plan trace and its geometry file.
// Returns what the reading told, the error it recorded among it.
ReadReport memorizza_percorso(RouteModel& model, int32_t j, const RunFiles& files, CompileOptions options);

// The cell post-pass, the reserved marks (1250 when taken) and the
// competition codes (1251 when their places are taken): the model as the
// binary files hold it. The reading's origins name the records behind a
// taken place; without a cell 1 the reader's error, if any, is the one thrown.
void seal(RouteModel& model, const ReadReport& read);

// The compiler's second half on a model the readers have filled: seal, then
// the binary files. Throws FatalError with the reader's error, writing
// nothing, unless the options say otherwise.
void seal_and_write(RouteModel& model, const ReadReport& read, const RunFiles& files, CompileOptions options);

}  // namespace scenario
