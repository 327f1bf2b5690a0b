// The watch-list file gzlist.txt beside the program: one fund code per line,
// each line ending in CR LF, in GBK. Import adds every listed fund through
// the adding steps of the fund rows (with the valuation service after one
// fetch of all the file's codes); save writes the codes of all rows, first
// keeping the old file as gzlist.txt.bak when the save would drop codes it
// holds. Files go through platform::file_system(). User-interface thread only.
#pragma once

#include <vector>

#include "app/event_table.h"
#include "text/text.h"

// The program's directory + "/gzlist.txt".
Text watch_list_path();

// Removes one CR LF from the start of `text`, if there, then one from its end.
void trim_outer_crlf(Text& text);

// 0 for an empty text; else the number of LF bytes, plus one when the text
// does not end in LF.
int count_lines(const Text& text);

// The n-th line (1-based) of `text`, CR LF delimited, with its CR LF when it
// has one; the last line without CR LF is the rest of the text. Empty when
// n < 1 or there are fewer lines; a text ending in CR LF has no empty line
// after it.
Text text_line(const Text& text, int n);

// text_line of the whole file at `path`, read as text (up to its first zero
// byte); a missing file reads as empty.
Text read_file_line(const Text& path, int n);

// The codes of a watch-list text in file order: CR LF, a lone CR and a lone
// LF each end a line; up to three blank lines are dropped at each end, and
// every other line is one code, empty or not.
std::vector<Text> watch_list_codes(const Text& text);

// True when some non-blank line of the file content `old_content` is not
// among `codes`: replacing the file by `codes` would lose it.
bool drops_listed_codes(const Text& old_content, const std::vector<Text>& codes);

// Handlers.
void import_watch_list(const EventContext& context);  // 按钮1
void save_watch_list(const EventContext& context);    // 按钮3
