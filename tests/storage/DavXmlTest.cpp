#include "storage/DavXml.h"

#include <gtest/gtest.h>
