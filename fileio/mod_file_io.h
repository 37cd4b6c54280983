#pragma once

// File access for the reversal modes: handles, positioned block reads and writes, and the
// backward readers.
#include "fileio/backward_lines.h"
#include "fileio/backward_reader.h"
#include "fileio/block_io.h"
#include "fileio/file_error.h"
#include "fileio/file_handle.h"
#include "fileio/line_breaks.h"
#include "fileio/output_target.h"
#include "fileio/replacement_file.h"
