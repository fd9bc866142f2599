// The JSON library: values, paths, the reader and the writers.
#pragma once

#include "json/path.h"
#include "json/reader.h"
#include "json/value.h"
#include "json/writer.h"
