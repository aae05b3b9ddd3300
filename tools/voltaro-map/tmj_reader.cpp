#include "tmj_reader.h"

#include "map_tool_error.h"
#include "text_file.h"
#include "tile_data.h"
#include "tiled_importer.h"
#include "tmx_reader.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <stdexcept>

using nlohmann::json;

namespace {

// One JSON file being read, with typed look-ups that throw MapToolError
// naming the file and what was looked at (`where`, e.g. "layer \"tiles\"").
class JsonFile {
public:
    explicit JsonFile(const std::string& path) : m_path(path) {
        const std::string text = TextFile::read(path);
        try {
            m_root = json::parse(text);
        } catch (const json::parse_error& error) {
            std::string message = error.what();
            const size_t detail = message.find("] ");
            if (detail != std::string::npos) message.erase(0, detail + 2);  // drop the library's error code
            throw MapToolError(path, TextFile::lineAt(text, error.byte == 0 ? 0 : error.byte - 1),
                               "malformed JSON: " + message);
        }
        if (!m_root.is_object()) fail("the file holds no JSON object");
    }

    const std::string& path() const { return m_path; }
    const json& root() const { return m_root; }

    [[noreturn]] void fail(const std::string& message) const { throw MapToolError(m_path, 0, message); }

    const json& member(const json& object, const char* key, const std::string& where) const {
        const auto found = object.find(key);
        if (found == object.end()) fail(where + " has no \"" + key + "\"");
        return *found;
    }

    int32_t integer(const json& object, const char* key, const std::string& where) const {
        const json& value = member(object, key, where);
        if (!value.is_number_integer() || value.get<int64_t>() < INT32_MIN || value.get<int64_t>() > INT32_MAX ||
            (value.is_number_unsigned() && value.get<uint64_t>() > static_cast<uint64_t>(INT32_MAX))) {
            fail(where + ": \"" + key + "\" is not a whole number of 32 bits");
        }
        return value.get<int32_t>();
    }

    int32_t integer(const json& object, const char* key, int32_t fallback, const std::string& where) const {
        return object.contains(key) ? integer(object, key, where) : fallback;
    }

    double number(const json& object, const char* key, const std::string& where) const {
        const auto found = object.find(key);
        if (found == object.end()) return 0;  // Tiled leaves out nothing, but hand-written files may
        if (!found->is_number()) fail(where + ": \"" + key + "\" is not a number");
        return found->get<double>();
    }

    std::string string(const json& object, const char* key, const std::string& where) const {
        const auto found = object.find(key);
        if (found == object.end()) return std::string();
        if (!found->is_string()) fail(where + ": \"" + key + "\" is not a string");
        return found->get<std::string>();
    }

    bool flag(const json& object, const char* key) const {
        const auto found = object.find(key);
        return found != object.end() && found->is_boolean() && found->get<bool>();
    }

    const json& array(const json& object, const char* key, const std::string& where) const {
        static const json kEmpty = json::array();
        const auto found = object.find(key);
        if (found == object.end()) return kEmpty;
        if (!found->is_array()) fail(where + ": \"" + key + "\" is not an array");
        return *found;
    }

private:
    std::string m_path;
    json m_root;
};

void readTilesetBody(const JsonFile& file, const json& object, const std::string& where, TiledMap::Tileset& tileset) {
    tileset.name = file.string(object, "name", where);
    tileset.tileWidth = file.integer(object, "tilewidth", where);
    tileset.tileHeight = file.integer(object, "tileheight", where);
    tileset.tileCount = file.integer(object, "tilecount", where);
    tileset.place = TiledMap::Place{file.path(), 0};
    for (const json& tile : file.array(object, "tiles", where)) {
        const int32_t id = file.integer(tile, "id", where + ", a tile");
        for (const json& property : file.array(tile, "properties", where + ", tile " + std::to_string(id))) {
            if (property.is_object() && property.value("name", "") == "solid" && property.contains("value") &&
                property["value"] == true) {
                tileset.solidTiles.insert(id);
            }
        }
    }
}

bool endsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

TiledMap::Tileset readTileset(const JsonFile& file, const json& object, size_t index) {
    const std::string where = "tileset " + std::to_string(index);
    const int32_t firstGid = file.integer(object, "firstgid", where);
    if (firstGid < 1) file.fail(where + ": firstgid " + std::to_string(firstGid) + " is not a positive number");
    const std::string source = file.string(object, "source", where);
    TiledMap::Tileset tileset;
    tileset.firstGid = static_cast<uint32_t>(firstGid);
    if (source.empty()) {
        readTilesetBody(file, object, where + " (\"" + file.string(object, "name", where) + "\")", tileset);
        return tileset;
    }
    const std::string path = TextFile::beside(file.path(), source);
    if (endsWith(source, ".tsx")) return TmxReader::readTileset(path, tileset.firstGid);
    const JsonFile external(path);
    readTilesetBody(external, external.root(), "the tile set", tileset);
    return tileset;
}

std::vector<uint32_t> readLayerData(const JsonFile& file, const json& layer, const std::string& where, size_t count) {
    if (layer.contains("chunks")) {
        file.fail(where + " is stored in chunks, as in an infinite map; the engine needs a finite map");
    }
    const json& data = file.member(layer, "data", where);
    const std::string encoding = file.string(layer, "encoding", where);
    const std::string compression = file.string(layer, "compression", where);
    try {
        if (encoding.empty() || encoding == "csv") {
            if (!compression.empty()) file.fail(where + ": compression \"" + compression + "\" needs encoding \"base64\"");
            if (!data.is_array()) file.fail(where + ": \"data\" is not an array of gids");
            std::vector<uint32_t> gids;
            gids.reserve(data.size());
            for (const json& gid : data) {
                if (!gid.is_number_unsigned() || gid.get<uint64_t>() > 0xFFFFFFFFu) {
                    file.fail(where + ": cell " + std::to_string(gids.size()) + " is not a gid (a whole number of 32 bits)");
                }
                gids.push_back(gid.get<uint32_t>());
            }
            if (gids.size() != count) {
                throw std::invalid_argument("the layer data holds " + std::to_string(gids.size()) + " cells, expected " +
                                            std::to_string(count) + " (the layer's width x height)");
            }
            return gids;
        }
        if (encoding == "base64") {
            if (!data.is_string()) file.fail(where + ": \"data\" is not a base64 string");
            return TileData::fromBase64(data.get<std::string>(), compression, count);
        }
    } catch (const std::invalid_argument& error) {
        file.fail(where + ": " + error.what());
    }
    file.fail(where + ": unknown encoding \"" + encoding + "\" (Tiled writes csv or base64)");
}

TiledMap::Shape shapeOf(const JsonFile& file, const json& object) {
    if (object.contains("gid")) return TiledMap::Shape::Tile;
    if (file.flag(object, "point")) return TiledMap::Shape::Point;
    if (file.flag(object, "ellipse")) return TiledMap::Shape::Ellipse;
    if (object.contains("polygon")) return TiledMap::Shape::Polygon;
    if (object.contains("polyline")) return TiledMap::Shape::Polyline;
    if (object.contains("text")) return TiledMap::Shape::Text;
    return TiledMap::Shape::Rectangle;
}

void readLayers(const JsonFile& file, const json& layers, TiledMap& map) {
    for (const json& layer : layers) {
        if (!layer.is_object()) file.fail("a layer is not a JSON object");
        const std::string name = file.string(layer, "name", "a layer");
        const std::string where = "layer \"" + name + "\"";
        const std::string type = file.string(layer, "type", where);
        if (type == "tilelayer") {
            const int32_t width = file.integer(layer, "width", map.width, where);
            const int32_t height = file.integer(layer, "height", map.height, where);
            if (width != map.width || height != map.height) {
                file.fail(where + " is " + std::to_string(width) + " x " + std::to_string(height) +
                          " tiles, but the map is " + std::to_string(map.width) + " x " + std::to_string(map.height));
            }
            TiledMap::TileLayer tileLayer;
            tileLayer.name = name;
            tileLayer.place = TiledMap::Place{file.path(), 0};
            tileLayer.gids = readLayerData(file, layer, where, static_cast<size_t>(width) * static_cast<size_t>(height));
            map.tileLayers.push_back(std::move(tileLayer));
        } else if (type == "objectgroup") {
            TiledMap::ObjectLayer objectLayer;
            objectLayer.name = name;
            objectLayer.place = TiledMap::Place{file.path(), 0};
            for (const json& node : file.array(layer, "objects", where)) {
                if (!node.is_object()) file.fail(where + ": an object is not a JSON object");
                TiledMap::Object object;
                object.id = file.integer(node, "id", 0, where + ", an object");
                const std::string objectWhere = where + ", object " + std::to_string(object.id);
                object.name = file.string(node, "name", objectWhere);
                object.shape = shapeOf(file, node);
                object.x = file.number(node, "x", objectWhere);
                object.y = file.number(node, "y", objectWhere);
                object.width = file.number(node, "width", objectWhere);
                object.height = file.number(node, "height", objectWhere);
                object.place = TiledMap::Place{file.path(), 0};
                objectLayer.objects.push_back(std::move(object));
            }
            map.objectLayers.push_back(std::move(objectLayer));
        } else if (type == "group") {
            readLayers(file, file.array(layer, "layers", where), map);
        }
    }
}

}  // namespace

TiledMap TmjReader::read(const std::string& path) {
    const JsonFile file(path);
    const json& root = file.root();
    TiledMap map;
    map.place = TiledMap::Place{path, 0};
    map.orientation = file.string(root, "orientation", "the map");
    map.infinite = file.flag(root, "infinite");
    if (map.infinite) {
        file.fail("the map is infinite; the engine needs a finite map (in Tiled: Map > Map Properties, "
                  "untick Infinite, then save)");
    }
    map.width = file.integer(root, "width", "the map");
    map.height = file.integer(root, "height", "the map");
    map.tileWidth = file.integer(root, "tilewidth", "the map");
    map.tileHeight = file.integer(root, "tileheight", "the map");
    TiledImporter::checkHeader(map);
    const json& tilesets = file.array(root, "tilesets", "the map");
    for (size_t i = 0; i < tilesets.size(); ++i) {
        if (!tilesets[i].is_object()) file.fail("tileset " + std::to_string(i) + " is not a JSON object");
        map.tilesets.push_back(readTileset(file, tilesets[i], i));
    }
    readLayers(file, file.array(root, "layers", "the map"), map);
    return map;
}
