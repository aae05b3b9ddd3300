#include "tmx_reader.h"

#include "map_tool_error.h"
#include "text_file.h"
#include "tile_data.h"
#include "tiled_importer.h"

#include <tinyxml2.h>

#include <cstring>
#include <stdexcept>

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

namespace {

std::string describeXmlError(const XMLDocument& document) {
    switch (document.ErrorID()) {
        case tinyxml2::XML_ERROR_EMPTY_DOCUMENT:
            return "the file is empty, not XML";
        case tinyxml2::XML_ERROR_MISMATCHED_ELEMENT:
            return "malformed XML: a closing tag does not match its opening tag";
        case tinyxml2::XML_ERROR_PARSING_ELEMENT:
            return "malformed XML: an element is not closed or is badly formed";
        case tinyxml2::XML_ERROR_PARSING_ATTRIBUTE:
            return "malformed XML: an attribute is badly formed (a missing quote or '=')";
        case tinyxml2::XML_ERROR_PARSING_TEXT:
            return "malformed XML: bad text between elements";
        default:
            return std::string("malformed XML (") + document.ErrorName() + ")";
    }
}

// One XML file being read: its name and parsed document, and helpers that
// throw MapToolError at an element's line.
class XmlFile {
public:
    explicit XmlFile(const std::string& path) : m_path(path) {
        const std::string text = TextFile::read(path);
        if (m_document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) {
            throw MapToolError(path, m_document.ErrorLineNum(), describeXmlError(m_document));
        }
    }

    const std::string& path() const { return m_path; }

    const XMLElement& root(const char* expected) const {
        const XMLElement* root = m_document.RootElement();
        if (root == nullptr || std::strcmp(root->Name(), expected) != 0) {
            throw MapToolError(m_path, root == nullptr ? 0 : root->GetLineNum(),
                               std::string("expected a <") + expected + "> element" +
                                   (root == nullptr ? "" : std::string(", found <") + root->Name() + ">"));
        }
        return *root;
    }

    [[noreturn]] void fail(const XMLElement& element, const std::string& message) const {
        throw MapToolError(m_path, element.GetLineNum(), message);
    }

    TiledMap::Place place(const XMLElement& element) const { return TiledMap::Place{m_path, element.GetLineNum()}; }

    int32_t intAttribute(const XMLElement& element, const char* name) const {
        const char* text = element.Attribute(name);
        if (text == nullptr) fail(element, std::string("<") + element.Name() + "> has no \"" + name + "\" attribute");
        int value = 0;
        if (element.QueryIntAttribute(name, &value) != tinyxml2::XML_SUCCESS) {
            fail(element, std::string("<") + element.Name() + "> attribute " + name + "=\"" + text +
                              "\" is not a whole number");
        }
        return value;
    }

    int32_t intAttribute(const XMLElement& element, const char* name, int32_t fallback) const {
        return element.Attribute(name) == nullptr ? fallback : intAttribute(element, name);
    }

    double numberAttribute(const XMLElement& element, const char* name) const {
        const char* text = element.Attribute(name);
        if (text == nullptr) return 0;  // Tiled leaves out zero sizes
        double value = 0;
        if (element.QueryDoubleAttribute(name, &value) != tinyxml2::XML_SUCCESS) {
            fail(element, std::string("<") + element.Name() + "> attribute " + name + "=\"" + text + "\" is not a number");
        }
        return value;
    }

    static std::string stringAttribute(const XMLElement& element, const char* name) {
        const char* text = element.Attribute(name);
        return text == nullptr ? std::string() : std::string(text);
    }

private:
    std::string m_path;
    XMLDocument m_document;
};

void readTilesetBody(const XmlFile& file, const XMLElement& element, TiledMap::Tileset& tileset) {
    tileset.name = XmlFile::stringAttribute(element, "name");
    tileset.tileWidth = file.intAttribute(element, "tilewidth");
    tileset.tileHeight = file.intAttribute(element, "tileheight");
    tileset.place = file.place(element);
    const XMLElement* image = element.FirstChildElement("image");
    if (element.Attribute("tilecount") != nullptr) {
        tileset.tileCount = file.intAttribute(element, "tilecount");
    } else if (image != nullptr && tileset.tileWidth > 0 && tileset.tileHeight > 0) {
        // Older tile sets leave the count to the image's size.
        tileset.tileCount = (file.intAttribute(*image, "width") / tileset.tileWidth) *
                            (file.intAttribute(*image, "height") / tileset.tileHeight);
    }
    for (const XMLElement* tile = element.FirstChildElement("tile"); tile != nullptr;
         tile = tile->NextSiblingElement("tile")) {
        const XMLElement* properties = tile->FirstChildElement("properties");
        if (properties == nullptr) continue;
        for (const XMLElement* property = properties->FirstChildElement("property"); property != nullptr;
             property = property->NextSiblingElement("property")) {
            if (XmlFile::stringAttribute(*property, "name") == "solid" &&
                XmlFile::stringAttribute(*property, "value") == "true") {
                tileset.solidTiles.insert(file.intAttribute(*tile, "id"));
            }
        }
    }
}

TiledMap::Tileset readTilesetReference(const XmlFile& file, const XMLElement& element) {
    const int32_t firstGid = file.intAttribute(element, "firstgid");
    if (firstGid < 1) file.fail(element, "firstgid " + std::to_string(firstGid) + " is not a positive number");
    const char* source = element.Attribute("source");
    if (source != nullptr) return TmxReader::readTileset(TextFile::beside(file.path(), source), static_cast<uint32_t>(firstGid));
    TiledMap::Tileset tileset;
    tileset.firstGid = static_cast<uint32_t>(firstGid);
    readTilesetBody(file, element, tileset);
    return tileset;
}

std::vector<uint32_t> readLayerData(const XmlFile& file, const XMLElement& layer, size_t count) {
    const XMLElement* data = layer.FirstChildElement("data");
    if (data == nullptr) file.fail(layer, "the tile layer has no <data>");
    if (data->FirstChildElement("chunk") != nullptr) {
        file.fail(*data, "the layer is stored in chunks, as in an infinite map; the engine needs a finite map");
    }
    const std::string encoding = XmlFile::stringAttribute(*data, "encoding");
    const std::string compression = XmlFile::stringAttribute(*data, "compression");
    const char* text = data->GetText();
    try {
        if (encoding.empty()) {
            if (!compression.empty()) file.fail(*data, "compression \"" + compression + "\" needs encoding=\"base64\"");
            std::vector<uint32_t> gids;
            for (const XMLElement* tile = data->FirstChildElement("tile"); tile != nullptr;
                 tile = tile->NextSiblingElement("tile")) {
                gids.push_back(static_cast<uint32_t>(tile->UnsignedAttribute("gid", 0)));
            }
            if (gids.size() != count) {
                file.fail(*data, "the layer data holds " + std::to_string(gids.size()) + " <tile> elements, expected " +
                                     std::to_string(count) + " (the layer's width x height)");
            }
            return gids;
        }
        if (encoding == "csv") {
            if (!compression.empty()) file.fail(*data, "compression \"" + compression + "\" needs encoding=\"base64\"");
            return TileData::fromCsv(text == nullptr ? "" : text, count);
        }
        if (encoding == "base64") return TileData::fromBase64(text == nullptr ? "" : text, compression, count);
    } catch (const std::invalid_argument& error) {
        file.fail(*data, std::string("layer \"") + XmlFile::stringAttribute(layer, "name") + "\": " + error.what());
    }
    file.fail(*data, "unknown encoding \"" + encoding + "\" (Tiled writes csv or base64)");
}

void readLayers(const XmlFile& file, const XMLElement& parent, TiledMap& map) {
    for (const XMLElement* element = parent.FirstChildElement(); element != nullptr;
         element = element->NextSiblingElement()) {
        const std::string kind = element->Name();
        if (kind == "layer") {
            TiledMap::TileLayer layer;
            layer.name = XmlFile::stringAttribute(*element, "name");
            layer.place = file.place(*element);
            const int32_t width = file.intAttribute(*element, "width", map.width);
            const int32_t height = file.intAttribute(*element, "height", map.height);
            if (width != map.width || height != map.height) {
                file.fail(*element, "layer \"" + layer.name + "\" is " + std::to_string(width) + " x " +
                                        std::to_string(height) + " tiles, but the map is " + std::to_string(map.width) +
                                        " x " + std::to_string(map.height));
            }
            layer.gids = readLayerData(file, *element, static_cast<size_t>(width) * static_cast<size_t>(height));
            map.tileLayers.push_back(std::move(layer));
        } else if (kind == "objectgroup") {
            TiledMap::ObjectLayer layer;
            layer.name = XmlFile::stringAttribute(*element, "name");
            layer.place = file.place(*element);
            for (const XMLElement* node = element->FirstChildElement("object"); node != nullptr;
                 node = node->NextSiblingElement("object")) {
                TiledMap::Object object;
                object.id = file.intAttribute(*node, "id", 0);
                object.name = XmlFile::stringAttribute(*node, "name");
                object.x = file.numberAttribute(*node, "x");
                object.y = file.numberAttribute(*node, "y");
                object.width = file.numberAttribute(*node, "width");
                object.height = file.numberAttribute(*node, "height");
                object.place = file.place(*node);
                if (node->Attribute("gid") != nullptr) object.shape = TiledMap::Shape::Tile;
                if (node->FirstChildElement("point") != nullptr) object.shape = TiledMap::Shape::Point;
                if (node->FirstChildElement("ellipse") != nullptr) object.shape = TiledMap::Shape::Ellipse;
                if (node->FirstChildElement("polygon") != nullptr) object.shape = TiledMap::Shape::Polygon;
                if (node->FirstChildElement("polyline") != nullptr) object.shape = TiledMap::Shape::Polyline;
                if (node->FirstChildElement("text") != nullptr) object.shape = TiledMap::Shape::Text;
                layer.objects.push_back(std::move(object));
            }
            map.objectLayers.push_back(std::move(layer));
        } else if (kind == "group") {
            readLayers(file, *element, map);
        }
    }
}

}  // namespace

TiledMap TmxReader::read(const std::string& path) {
    const XmlFile file(path);
    const XMLElement& root = file.root("map");
    TiledMap map;
    map.place = file.place(root);
    map.orientation = XmlFile::stringAttribute(root, "orientation");
    map.infinite = file.intAttribute(root, "infinite", 0) != 0;
    if (map.infinite) {
        file.fail(root, "the map is infinite; the engine needs a finite map (in Tiled: Map > Map Properties, "
                        "untick Infinite, then save)");
    }
    map.width = file.intAttribute(root, "width");
    map.height = file.intAttribute(root, "height");
    map.tileWidth = file.intAttribute(root, "tilewidth");
    map.tileHeight = file.intAttribute(root, "tileheight");
    TiledImporter::checkHeader(map);
    for (const XMLElement* element = root.FirstChildElement("tileset"); element != nullptr;
         element = element->NextSiblingElement("tileset")) {
        map.tilesets.push_back(readTilesetReference(file, *element));
    }
    readLayers(file, root, map);
    return map;
}

TiledMap::Tileset TmxReader::readTileset(const std::string& path, uint32_t firstGid) {
    const XmlFile file(path);
    TiledMap::Tileset tileset;
    tileset.firstGid = firstGid;
    readTilesetBody(file, file.root("tileset"), tileset);
    return tileset;
}
