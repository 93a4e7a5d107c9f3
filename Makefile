# The two commands of the README. Both install what is missing and build what is stale.
.PHONY: run test build dist fuzz soak clean
run:
	scripts/run.sh
test:
	scripts/test.sh
build:
	scripts/deps.sh && scripts/build.sh
dist:
	scripts/dist.sh
fuzz:
	scripts/fuzz.sh
soak:
	scripts/deps.sh && scripts/build.sh native win && bash tests/e2e/soak.sh
clean:
	rm -rf build
