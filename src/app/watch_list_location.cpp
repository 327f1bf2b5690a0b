#include "app/watch_list_location.h"

#include "platform/files.h"
#include "text/gbk_literal.h"

Text watch_list_location() {
  platform::FileSystem& files = platform::file_system();
  const Text name = gbk("gzlist.txt");
  Text program_folder = files.program_directory();
  Text beside = program_folder + gbk("/") + name;
  if (files.writable(program_folder) || files.writable(beside)) return beside;

  // An installed copy: its folder belongs to the system, and every save
  // there would fail.
  Text data_folder = files.user_data_directory();
  if (data_folder.empty()) return beside;
  Text folder = data_folder + gbk("/fundwatch");
  files.create_directories(folder);
  return folder + gbk("/") + name;
}
