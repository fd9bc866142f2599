#include "cabinet.h"

#include <libgcab.h>

#include <algorithm>
#include <functional>
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

// Extraction passes each file of the cabinet to a choice: whether to extract it (into memory,
// or at the name it sets).
struct Choice {
  const std::vector<GCabFile*>& files;
  std::function<bool(size_t entry, GCabFile* file)> take;

  static gboolean Call(GCabFile* file, gpointer self)
  {
    Choice* choice = static_cast<Choice*>(self);
    auto found = std::find(choice->files.begin(), choice->files.end(), file);
    return found != choice->files.end() && choice->take(static_cast<size_t>(found - choice->files.begin()), file);
  }
};

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

struct CabinetReader::Library {
  Owned<GInputStream> stream;
  Owned<GCabCabinet> cabinet;
  std::vector<GCabFile*> files;  // the cabinet's, of the entries in order
};

CabinetReader::CabinetReader() = default;
CabinetReader::~CabinetReader() = default;

bool CabinetReader::Open(const std::string& hostPath, std::string* problem)
{
  auto library = std::make_unique<Library>();
  Owned<GFile> file(g_file_new_for_path(hostPath.c_str()));
  GError* error = nullptr;
  library->stream.reset(G_INPUT_STREAM(g_file_read(file.get(), nullptr, &error)));
  if (!library->stream)
    return Fail(error, "cannot be read", problem);
  library->cabinet.reset(gcab_cabinet_new());
  if (!gcab_cabinet_load(library->cabinet.get(), library->stream.get(), nullptr, &error))
    return Fail(error, "not a cabinet", problem);
  entries_.clear();
  GPtrArray* folders = gcab_cabinet_get_folders(library->cabinet.get());
  for (guint i = 0; i < folders->len; ++i) {
    GSList* files = gcab_folder_get_files(GCAB_FOLDER(g_ptr_array_index(folders, i)));
    for (GSList* each = files; each; each = each->next) {
      GCabFile* entry = GCAB_FILE(each->data);
      library->files.push_back(entry);
      entries_.push_back({gcab_file_get_name(entry), gcab_file_get_size(entry)});
    }
    g_slist_free(files);
  }
  library_ = std::move(library);
  return true;
}

std::optional<std::vector<uint8_t>> CabinetReader::Read(size_t entry, std::string* problem)
{
  Choice choice{library_->files, [&](size_t index, GCabFile*) { return index == entry; }};
  GError* error = nullptr;
  // Without a folder to extract into, the files chosen are extracted into memory.
  if (!gcab_cabinet_extract_simple(library_->cabinet.get(), nullptr, Choice::Call, &choice, nullptr, &error)) {
    Fail(error, "damaged cabinet", problem);
    return std::nullopt;
  }
  GBytes* data = gcab_file_get_bytes(library_->files[entry]);
  gsize size = 0;
  auto* start = data ? static_cast<const uint8_t*>(g_bytes_get_data(data, &size)) : nullptr;
  return std::vector<uint8_t>(start, start + size);
}

Extraction CabinetReader::Extract(const std::string& folder, const std::map<size_t, std::string>& targets,
                                  std::string* problem)
{
  Choice choice{library_->files, [&](size_t index, GCabFile* file) {
                  auto target = targets.find(index);
                  if (target == targets.end())
                    return false;
                  gcab_file_set_extract_name(file, target->second.c_str());
                  return true;
                }};
  Owned<GFile> root(g_file_new_for_path(folder.c_str()));
  GError* error = nullptr;
  if (gcab_cabinet_extract_simple(library_->cabinet.get(), root.get(), Choice::Call, &choice, nullptr, &error))
    return Extraction::done;
  bool written = !error || error->domain != G_IO_ERROR ||
                 (error->code != G_IO_ERROR_NO_SPACE && error->code != G_IO_ERROR_PERMISSION_DENIED &&
                  error->code != G_IO_ERROR_READ_ONLY);
  Fail(error, written ? "damaged cabinet" : "cannot extract", problem);
  return written ? Extraction::damaged : Extraction::notWritten;
}

}  // namespace install
