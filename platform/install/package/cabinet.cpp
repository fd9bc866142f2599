#include "cabinet.h"

#include <libgcab.h>

#include <memory>

namespace install {
namespace {

template <typename T>
using Owned = std::unique_ptr<T, decltype([](T* object) { g_object_unref(object); })>;
using Error = std::unique_ptr<GError, decltype([](GError* error) { g_error_free(error); })>;
using Bytes = std::unique_ptr<GBytes, decltype([](GBytes* bytes) { g_bytes_unref(bytes); })>;

bool Fail(GError* error, const std::string& what, std::string* problem)
{
  Error owned(error);
  *problem = what + ": " + (error ? error->message : "failed");
  return false;
}

}  // namespace

bool WriteCabinet(const std::string& hostPath, const std::vector<CabinetFile>& files, std::string* problem)
{
  Owned<GCabCabinet> cabinet(gcab_cabinet_new());
  Owned<GCabFolder> folder(gcab_folder_new(GCAB_COMPRESSION_MSZIP));
  GError* error = nullptr;
  for (const CabinetFile& file : files) {
    Bytes bytes(g_bytes_new(file.data.data(), file.data.size()));
    Owned<GCabFile> entry(gcab_file_new_with_bytes(file.name.c_str(), bytes.get()));
    if (!gcab_folder_add_file(folder.get(), entry.get(), FALSE, nullptr, &error))
      return Fail(error, "cannot add " + file.name, problem);
    // Adding sets the attributes afresh, so they are set afterwards.
    guint32 attributes = GCAB_FILE_ATTRIBUTE_ARCH | (file.program ? GCAB_FILE_ATTRIBUTE_EXEC : 0);
    gcab_file_set_attributes(entry.get(), attributes);
  }
  if (!gcab_cabinet_add_folder(cabinet.get(), folder.get(), &error))
    return Fail(error, "cannot make the cabinet", problem);
  Owned<GFile> target(g_file_new_for_path(hostPath.c_str()));
  Owned<GFileOutputStream> stream(
      g_file_replace(target.get(), nullptr, FALSE, G_FILE_CREATE_REPLACE_DESTINATION, nullptr, &error));
  if (!stream)
    return Fail(error, "cannot write " + hostPath, problem);
  GOutputStream* output = G_OUTPUT_STREAM(stream.get());
  if (!gcab_cabinet_write_simple(cabinet.get(), output, nullptr, nullptr, nullptr, &error)) {
    g_output_stream_close(output, nullptr, nullptr);
    return Fail(error, "cannot write " + hostPath, problem);
  }
  if (!g_output_stream_close(output, nullptr, &error))
    return Fail(error, "cannot write " + hostPath, problem);
  return true;
}

std::optional<std::vector<CabinetFile>> ReadCabinet(const std::vector<uint8_t>& bytes, std::string* problem)
{
  Owned<GInputStream> stream(g_memory_input_stream_new_from_data(bytes.data(), static_cast<gssize>(bytes.size()), nullptr));
  Owned<GCabCabinet> cabinet(gcab_cabinet_new());
  GError* error = nullptr;
  if (!gcab_cabinet_load(cabinet.get(), stream.get(), nullptr, &error)) {
    Fail(error, "not a cabinet", problem);
    return std::nullopt;
  }
  // Without a folder to extract into, every file is extracted into memory.
  if (!gcab_cabinet_extract_simple(cabinet.get(), nullptr, nullptr, nullptr, nullptr, &error)) {
    Fail(error, "damaged cabinet", problem);
    return std::nullopt;
  }
  std::vector<CabinetFile> files;
  GPtrArray* folders = gcab_cabinet_get_folders(cabinet.get());
  for (guint i = 0; i < folders->len; ++i) {
    GSList* entries = gcab_folder_get_files(GCAB_FOLDER(g_ptr_array_index(folders, i)));
    for (GSList* each = entries; each; each = each->next) {
      GCabFile* entry = GCAB_FILE(each->data);
      GBytes* data = gcab_file_get_bytes(entry);
      gsize size = 0;
      auto* start = data ? static_cast<const uint8_t*>(g_bytes_get_data(data, &size)) : nullptr;
      files.push_back({gcab_file_get_name(entry), std::vector<uint8_t>(start, start + size),
                       (gcab_file_get_attributes(entry) & GCAB_FILE_ATTRIBUTE_EXEC) != 0});
    }
    g_slist_free(entries);
  }
  return files;
}

}  // namespace install
