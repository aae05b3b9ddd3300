// not a layer
