# The two commands a player or developer needs on a fresh Debian 12 machine:
#   make run   installs what is missing, builds in Release and starts the game
#   make test  installs what is missing, builds with sanitizers and runs every test
# and, for developers, `make bench` (Release benchmarks) and `make fuzz` (libFuzzer, clang).
# `make web` builds the browser edition: build/web/ then holds exactly the page's files to publish, the
# headless runner for Node goes to build/web-node/ and the build tree to build/web-build/; `make web-run`
# also serves the page on 127.0.0.1.
# `make install` installs under PREFIX (/usr/local; DESTDIR honoured); `make package` builds a Debian
# package with Debian's hardening flags and checks it with lintian.

JOBS        ?= $(shell nproc)
TEST_DIR    := build/test
RELEASE_DIR := build/release
FUZZ_DIR    := build/fuzz
WEB_DIR     := build/web
WEB_BUILD_DIR := build/web-build
WEB_NODE_DIR  := build/web-node
# The page's icons are drawn by the icon generator, built for this machine in the release tree.
ICON_TOOL   := $(RELEASE_DIR)/tools/make-icon/make-icon
# Debian's emscripten runs its tools under the machine's Node, which does not look in Debian's
# module folder by itself (emcc needs acorn from there).
WEB_ENV     := NODE_PATH=/usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))
PACKAGE_DIR := build/package
PREFIX      ?= /usr/local
BUILD_FLAGS := DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
CMAKE_GEN   := -G Ninja
# `make test` builds with warnings as errors, the browser edition it plays included; the other
# builds warn only, so that a newer compiler's new warning does not stop a player's build.
WERROR      := OFF

.PHONY: all deps build test bench run fuzz web web-run install package clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(RELEASE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=OFF
	cmake --build $(RELEASE_DIR) -j $(JOBS)

test: WERROR := ON
test: deps web
	# A prefix of its own, so that a game installed on this machine cannot lend the tests its pictures.
	# The benchmarks are built too (not run), so that a change cannot leave them broken.
	cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_TESTS=ON -DQV_BENCH=ON \
	  -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR) \
	  -DQV_WEB_DIR=$(CURDIR)/$(WEB_DIR) -DQV_WEB_NODE_DIR=$(CURDIR)/$(WEB_NODE_DIR) \
	  -DCMAKE_INSTALL_PREFIX=$(CURDIR)/$(TEST_DIR)/prefix
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(RELEASE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target run_benchmarks

run: build
	cd assets && ../$(RELEASE_DIR)/quorvantile

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_TESTS=OFF -DQV_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)

web: deps
	cmake -S . -B $(RELEASE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target make-icon
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR) -DQV_WEB_OUTPUT_DIR=$(CURDIR)/$(WEB_DIR) \
	      -DQV_WEB_NODE_DIR=$(CURDIR)/$(WEB_NODE_DIR) -DQV_MAKE_ICON=$(CURDIR)/$(ICON_TOOL)
	$(WEB_ENV) cmake --build $(WEB_BUILD_DIR) -j $(JOBS)

web-run: web
	scripts/serve-web $(WEB_DIR)

install: deps
	cmake -S . -B $(RELEASE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=OFF \
	  -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	DESTDIR=$(DESTDIR) cmake --install $(RELEASE_DIR) --strip

package: deps
	cmake -S . -B $(PACKAGE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_CXX_FLAGS="$$($(BUILD_FLAGS) CPPFLAGS) $$($(BUILD_FLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(BUILD_FLAGS) LDFLAGS)"
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	rm -f $(PACKAGE_DIR)/*.deb
	cd $(PACKAGE_DIR) && cpack
	lintian --fail-on error,warning $(PACKAGE_DIR)/quorvantile_*.deb

clean:
	rm -rf build
